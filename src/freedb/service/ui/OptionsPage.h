#pragma once

#include "freedb/service/TreeFormat.h"

#include <QWidget>
#include <vector>

struct SAppContext;
class QRadioButton;
class QTreeWidget;

// The "Options" page of the FreeDB settings: the levels of the editor's album tree, shown
// as a sample tree whose levels move and are ticked to be shown, and the logging level.
class COptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit COptionsPage(SAppContext& context, QWidget* pParent = nullptr);

    void Load();
    bool Store();
    bool IsModified() const { return m_bModified; }
    // The levels as listed, outermost first.
    const std::vector<CTreeFormat::SLevelItem>& Items() const { return m_items; }

private:
    void BuildSample(int nSelected);
    int SelectedLevel() const;
    void MoveSelected(int nStep);
    void ToggleSelected();

    SAppContext& m_context;
    std::vector<CTreeFormat::SLevelItem> m_items;
    QTreeWidget* m_pSample;
    QRadioButton* m_pStandard;
    QRadioButton* m_pFull;
    bool m_bModified = false;
};
