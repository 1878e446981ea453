#include "app/WavsmithApp.h"

#include "app/WavsmithMainFrame.h"
#include "platform/PlatformPaths.h"

#include <QApplication>
#include <QProcess>

CWavsmithApp::CWavsmithApp()
    : m_profile(CPlatformPaths::ProfilePath()), m_settings(CPlatformPaths::HomeDir()),
      m_fileList(m_tracks, m_settings, m_profile),
      m_prompt(CWavsmithMainFrame::ProgramTitle().section(QLatin1Char(' '), 0, 0)),
      m_context{m_profile, m_settings, m_fileList, m_catalogue, m_freedbSettings, m_prompt} {
    QCoreApplication::setOrganizationName(QStringLiteral("Orvandel"));
    QCoreApplication::setApplicationName(QStringLiteral("Wavsmith"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WAVSMITH_VERSION));
    m_settings.LoadSettings(m_profile);
    m_catalogue.SetInterfaceLanguage(m_profile.GetString("Settings", "Language", ""));
    m_pFrame = std::make_unique<CWavsmithMainFrame>(m_context, &CWavsmithApp::Restart);
}

CWavsmithApp::~CWavsmithApp() = default;

int CWavsmithApp::Run() {
    m_pFrame->ShowFromProfile();
    return QApplication::exec();
}

void CWavsmithApp::Restart() {
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}
