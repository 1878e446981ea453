#pragma once

#include <QDialog>
#include <vector>

class CStringCatalogue;
struct SSkippedFile;

// The Skip Files window: the files an add refused, numbered, each with its reason, and
// the check box that stops the window (and the collecting of refused files) for the
// rest of the session.
class CSkipFilesDialog : public QDialog {
    Q_OBJECT
public:
    CSkipFilesDialog(const std::vector<SSkippedFile>& files, bool& bDontShow,
                     const CStringCatalogue& catalogue, QWidget* pParent = nullptr);
};
