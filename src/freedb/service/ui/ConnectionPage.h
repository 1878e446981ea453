#pragma once

#include "freedb/service/ConnectionPageModel.h"

#include <QWidget>

struct SAppContext;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The "Connection" page of the FreeDB settings: the server, the proxy, the time-out, the
// e-mail address and the number of connections. It edits a copy of the shared settings,
// taken when it loads; storing saves the copy and reloads the shared settings from it.
class CConnectionPage : public QWidget {
    Q_OBJECT
public:
    explicit CConnectionPage(SAppContext& context, QWidget* pParent = nullptr);

    void Load();
    bool Store();
    bool IsModified() const { return m_bModified; }

private:
    void FillServers();
    void UpdateProxyControls();
    void OnProxySettings();
    void OnGetServers();
    void MarkModified() { m_bModified = true; }

    SAppContext& m_context;
    CConnectionPageModel m_model;
    QComboBox* m_pServer;
    QCheckBox* m_pUseProxy;
    QPushButton* m_pProxySettings;
    QSpinBox* m_pTimeout;
    QLineEdit* m_pEmailUser;
    QLineEdit* m_pEmailDomain;
    QComboBox* m_pConnections;
    bool m_bModified = false;
};
