#pragma once

#include <QToolBar>
#include <vector>

class CCommandTable;
class CStringCatalogue;
class QToolButton;

// The main bar: seven buttons labelled from the "BarMain" texts, in bold, each sending a
// command; a button is enabled while its command is. Help opens the topic of the page
// shown, which the frame supplies.
class CMainBar : public QToolBar {
    Q_OBJECT
public:
    CMainBar(CCommandTable& commands, const CStringCatalogue& catalogue, QWidget* pParent);

    // Follows the commands' enabling; run after the command states were updated.
    void UpdateButtons();

signals:
    void HelpClicked();
    void ExitClicked();

private:
    QToolButton* AddButton(unsigned nLabelId, const QIcon& icon, unsigned nCommandId);

    CCommandTable& m_commands;
    const CStringCatalogue& m_catalogue;
    // Every button with the command whose enabling it follows.
    std::vector<std::pair<QToolButton*, unsigned>> m_commandButtons;
};
