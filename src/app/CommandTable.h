#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>
#include <map>

class CLanguageMenu;
class CStringCatalogue;
class QAction;
class QWidget;

// One command: its identifier (which also names its catalogue texts), its keys, what it
// does and when it is enabled and checked. Menus, bars, context menus and keys all work
// from these rows, so a command's text, keys and enabling live in one place.
struct SCommand {
    unsigned m_nId = 0;
    QList<QKeySequence> m_keys;
    std::function<void()> m_handler;
    // Empty: always enabled.
    std::function<bool()> m_isEnabled;
    // Empty: not a check item.
    std::function<bool()> m_isChecked;
};

// The commands of one window as actions. Their enabling and check marks are computed from
// the core's state in UpdateCommandUi, which runs after every command, when a menu is
// about to show and whenever the window's state changes. Lives in the window thread.
class CCommandTable : public QObject {
    Q_OBJECT
public:
    // Actions are added to `pOwner`, so their keys work anywhere in that window.
    CCommandTable(QWidget* pOwner, const CStringCatalogue& catalogue,
                  const CLanguageMenu& languageMenu);

    // Adds a command whose menu text comes from the catalogue.
    QAction* Add(SCommand command);
    // Adds a command with a menu text of its own (a language's name).
    QAction* Add(SCommand command, const QString& strText);
    QAction* Action(unsigned nId) const;

    // Runs a command as its menu item would: only when it is enabled.
    void Run(unsigned nId);
    void UpdateCommandUi();

    // The menu text of a command: the built-in text, or the catalogue text while a
    // language is selected. The part after a tab is the key shown beside it.
    QString MenuText(unsigned nId) const;

signals:
    // After a command has run and the command states were updated.
    void CommandDone(unsigned nId);

private:
    void Trigger(unsigned nId);

    QWidget* m_pOwner;
    const CStringCatalogue& m_catalogue;
    const CLanguageMenu& m_languageMenu;
    std::map<unsigned, SCommand> m_commands;
    std::map<unsigned, QAction*> m_actions;
};
