#pragma once

#include <QDialog>
#include <array>

class CEditorOptions;
class CStringCatalogue;
class QCheckBox;

// "Search options": a small window beside the FreeDB editor with the four places the
// search looks in. Every click updates the editor's options; closing it only hides it.
class CSearchOptionsWindow : public QDialog {
    Q_OBJECT
public:
    CSearchOptionsWindow(const CStringCatalogue& catalogue, CEditorOptions& options,
                         QWidget* pParent);

    QCheckBox& Option(std::size_t nIndex) { return *m_boxes[nIndex]; }

signals:
    // The user closed it.
    void Hidden();

protected:
    void hideEvent(QHideEvent* pEvent) override;
    void moveEvent(QMoveEvent* pEvent) override;

private:
    CEditorOptions& m_options;
    std::array<QCheckBox*, 4> m_boxes{};
};
