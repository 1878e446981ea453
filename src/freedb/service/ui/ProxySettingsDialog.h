#pragma once

#include <QDialog>

class CFreeDBSettings;
class CStringCatalogue;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// "FreeDB proxy server settings": the proxy's address and port and how it is logged in
// to. OK copies the values into the settings it was given (the page's copy).
class CProxySettingsDialog : public QDialog {
    Q_OBJECT
public:
    CProxySettingsDialog(const CStringCatalogue& catalogue, CFreeDBSettings& settings,
                         QWidget* pParent = nullptr);

    void accept() override;

private:
    void UpdateControls();

    CFreeDBSettings& m_settings;
    QLineEdit* m_pAddress;
    QLineEdit* m_pPort;
    QCheckBox* m_pAuth;
    QRadioButton* m_pAsk;
    QRadioButton* m_pUseInfo;
    QLineEdit* m_pUser;
    QLineEdit* m_pPassword;
};
