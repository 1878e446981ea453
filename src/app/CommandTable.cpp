#include "app/CommandTable.h"

#include "lang/BuiltInCatalogue.h"
#include "lang/LanguageMenu.h"
#include "lang/ui/UiText.h"

#include <QAction>
#include <QWidget>

CCommandTable::CCommandTable(QWidget* pOwner, const CStringCatalogue& catalogue,
                             const CLanguageMenu& languageMenu)
    : QObject(pOwner), m_pOwner(pOwner), m_catalogue(catalogue), m_languageMenu(languageMenu) {}

QAction* CCommandTable::Add(SCommand command) {
    const QString text = MenuText(command.m_nId);
    return Add(std::move(command), text);
}

QAction* CCommandTable::Add(SCommand command, const QString& strText) {
    const unsigned id = command.m_nId;
    auto* action = new QAction(strText, m_pOwner);
    action->setShortcuts(command.m_keys);
    action->setStatusTip(UiText::Prompt(m_catalogue, id));
    action->setCheckable(static_cast<bool>(command.m_isChecked));
    connect(action, &QAction::triggered, this, [this, id] { Trigger(id); });
    m_pOwner->addAction(action);
    m_commands[id] = std::move(command);
    m_actions[id] = action;
    return action;
}

QAction* CCommandTable::Action(unsigned nId) const {
    const auto found = m_actions.find(nId);
    return found == m_actions.end() ? nullptr : found->second;
}

void CCommandTable::Run(unsigned nId) {
    UpdateCommandUi();
    if (QAction* action = Action(nId); action != nullptr && action->isEnabled())
        Trigger(nId);
}

void CCommandTable::Trigger(unsigned nId) {
    const auto found = m_commands.find(nId);
    if (found == m_commands.end())
        return;
    // The handler may change what the check mark shows; the rule, not the click, decides.
    found->second.m_handler();
    UpdateCommandUi();
    emit CommandDone(nId);
}

void CCommandTable::UpdateCommandUi() {
    for (const auto& [id, command] : m_commands) {
        QAction* action = m_actions[id];
        action->setEnabled(!command.m_isEnabled || command.m_isEnabled());
        if (command.m_isChecked)
            action->setChecked(command.m_isChecked());
    }
}

QString CCommandTable::MenuText(unsigned nId) const {
    if (const auto translated = m_languageMenu.MenuItemText(nId))
        return UiText::FromUtf8(*translated);
    return UiText::FromUtf8(CBuiltInCatalogue::MenuText(nId).value_or(std::string_view()));
}
