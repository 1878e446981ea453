#pragma once

#include <QDialog>
#include <array>

class CProfile;
class CStringCatalogue;
class QAction;
class QCheckBox;
class QLineEdit;

// The Symbol Replacement window: what each of the nine characters that file names must not
// hold becomes, and whether doubled spaces and dots are removed. OK writes the table to the
// profile; Cancel leaves it. Help and F1 run `pHelp`, the program's Help command, and the
// Help button is enabled as that command is. Lives in the window thread.
class CSymbolReplacementDialog : public QDialog {
    Q_OBJECT
public:
    CSymbolReplacementDialog(CProfile& profile, const CStringCatalogue& catalogue,
                             QAction* pHelp = nullptr, QWidget* pParent = nullptr);

    QLineEdit& ReplacementEdit(size_t nKey) { return *m_edits[nKey]; }
    QCheckBox& DoubleSpacesBox() { return *m_pDoubleSpaces; }
    QCheckBox& DoubleDotsBox() { return *m_pDoubleDots; }

private:
    void Save();

    CProfile& m_profile;
    std::array<QLineEdit*, 9> m_edits{};
    QCheckBox* m_pDoubleSpaces;
    QCheckBox* m_pDoubleDots;
};
