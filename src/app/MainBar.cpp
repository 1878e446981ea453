#include "app/MainBar.h"

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"
#include "platform/ui/ThemeIcon.h"

#include <QAction>
#include <QToolButton>

namespace {
constexpr std::string_view kLabelSection = "BarMain";
constexpr unsigned kHelpLabel = 4024;
constexpr unsigned kExitLabel = 4025;
} // namespace

CMainBar::CMainBar(CCommandTable& commands, const CStringCatalogue& catalogue, QWidget* pParent)
    : QToolBar(pParent), m_commands(commands), m_catalogue(catalogue) {
    setObjectName(QStringLiteral("MainBar"));
    setWindowTitle(UiText::WithoutMnemonics(commands.MenuText(CommandId::kMainBar)));
    setMovable(false);
    // Labels beside their icons keep the bar low, so the first window's 520 pixels still
    // hold the tallest page.
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(16, 16));
    AddButton(4019, ThemeIcon::Get("document-open", QStyle::SP_DialogOpenButton),
              CommandId::kOpenFiles);
    AddButton(4020, ThemeIcon::Get("folder-open", QStyle::SP_DirOpenIcon),
              CommandId::kOpenDirectory);
    AddButton(4021, ThemeIcon::Get("network-server", QStyle::SP_DriveNetIcon), CommandId::kFreeDB);
    AddButton(4022, ThemeIcon::Get("folder", QStyle::SP_DirIcon), CommandId::kDestination);
    AddButton(4023, ThemeIcon::Get("media-playback-start", QStyle::SP_MediaPlay),
              CommandId::kEncode);
    addSeparator();
    connect(AddButton(kHelpLabel, ThemeIcon::Get("help-contents", QStyle::SP_DialogHelpButton),
                      CommandId::kHelp),
            &QToolButton::clicked, this, &CMainBar::HelpClicked);
    connect(AddButton(kExitLabel, ThemeIcon::Get("application-exit", QStyle::SP_DialogCloseButton),
                      CommandId::kExit),
            &QToolButton::clicked, this, &CMainBar::ExitClicked);
}

QToolButton* CMainBar::AddButton(unsigned nLabelId, const QIcon& icon, unsigned nCommandId) {
    auto* button = new QToolButton(this);
    button->setText(UiText::FromUtf8(m_catalogue.LoadUiStringFromSection(nLabelId, kLabelSection)));
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setStatusTip(UiText::Prompt(m_catalogue, nCommandId));
    button->setAccessibleName(button->text());
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    addWidget(button);
    m_commandButtons.emplace_back(button, nCommandId);
    // Help opens the topic of the page shown, and Exit closes the window as its own
    // button; the others send their command.
    if (nLabelId != kHelpLabel && nLabelId != kExitLabel)
        connect(button, &QToolButton::clicked, this,
                [this, nCommandId] { m_commands.Run(nCommandId); });
    return button;
}

void CMainBar::UpdateButtons() {
    for (const auto& [button, id] : m_commandButtons)
        button->setEnabled(m_commands.Action(id)->isEnabled());
}
