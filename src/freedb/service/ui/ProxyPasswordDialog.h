#pragma once

#include <QDialog>
#include <string>

class CStringCatalogue;
class QLineEdit;

// "Proxy Server Password": the proxy's user name and password, filled with the stored
// ones, to confirm before a connection goes through the proxy.
class CProxyPasswordDialog : public QDialog {
    Q_OBJECT
public:
    CProxyPasswordDialog(const CStringCatalogue& catalogue, const std::string& strUser,
                         const std::string& strPassword, QWidget* pParent = nullptr);

    std::string User() const;
    std::string Password() const;

private:
    QLineEdit* m_pUser;
    QLineEdit* m_pPassword;
};
