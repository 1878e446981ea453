#include "app/WavsmithApp.h"

#include "app/WavsmithMainFrame.h"
#include "app/WavsmithView.h"
#include "platform/PlatformPaths.h"
#include "platform/ui/ThemeIcon.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <thread>
#include <utility>

CWavsmithApp::CWavsmithApp()
    : m_profile(CPlatformPaths::ProfilePath()), m_settings(CPlatformPaths::HomeDir()),
      m_fileList(m_tracks, m_settings, m_profile),
      m_prompt(CWavsmithMainFrame::ProgramTitle().section(QLatin1Char(' '), 0, 0), &m_catalogue),
      m_context{m_profile, m_settings, m_fileList, m_catalogue, m_freedbSettings, m_prompt} {
    // The font database takes a quarter of the start-up to read; it loads on a second core
    // while this thread reads the settings and builds the bars, which need no fonts. Font
    // use waits for it (the database is thread-safe), and the thread ends with this scope.
    const std::jthread fonts([] { QFontDatabase::families(); });
    QCoreApplication::setOrganizationName(QStringLiteral("Orvandel"));
    QCoreApplication::setApplicationName(QStringLiteral("Wavsmith"));
    QCoreApplication::setApplicationVersion(QStringLiteral(WAVSMITH_VERSION));
    // Ties the windows to the installed desktop entry, for their icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.orvandel.Wavsmith"));
    ThemeIcon::ChooseFallbackTheme();
    m_settings.LoadSettings(m_profile);
    m_catalogue.SetInterfaceLanguage(m_profile.GetString("Settings", "Language", ""));
    // Qt's own dialogs (the file dialog) speak the interface language, and write its
    // sizes and dates, when its file names a locale; the desktop's language otherwise.
    if (const std::string locale = m_catalogue.GetLanguageLocale(); !locale.empty())
        QLocale::setDefault(QLocale(QString::fromStdString(locale)));
    if (m_qtTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslator);
    m_pFrame = std::make_unique<CWavsmithMainFrame>(m_context, &CWavsmithApp::Restart);
}

CWavsmithApp::~CWavsmithApp() = default;

int CWavsmithApp::Run(const std::vector<std::string>& startPaths) {
    // Without a source folder the view starts with an empty list; a path that adds
    // nothing leaves the stored folder as it was.
    const std::string storedSource =
        startPaths.empty() ? std::string() : std::exchange(m_settings.m_strInputDir, {});
    m_pFrame->ShowFromProfile();
    if (!startPaths.empty()) {
        m_pFrame->View().OpenPaths(startPaths);
        if (m_settings.m_strInputDir.empty())
            m_settings.m_strInputDir = storedSource;
    }
    return QApplication::exec();
}

void CWavsmithApp::Restart() {
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}
