#pragma once

#include <QDialog>

class CStringCatalogue;

// The about window: the program's name and version, who translated the interface, the
// maker's address and site, and the encoder library the program uses.
class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kMakerAddress = "wavsmith@orvandel.example";
    static constexpr const char* kMakerSite = "orvandel.example/wavsmith/";
    static constexpr const char* kEncoderSite = "https://lame.sourceforge.io/";

    explicit CAboutDialog(const CStringCatalogue& catalogue, QWidget* pParent = nullptr);

    // "Wavsmith 1.65 for Linux"
    static QString ProductLine(const CStringCatalogue& catalogue);
    // The program's own icon, as its desktop entry shows it; the main window's too.
    static QIcon ProgramIcon();
};
