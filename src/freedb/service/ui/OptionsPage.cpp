#include "freedb/service/ui/OptionsPage.h"

#include "app/AppContext.h"
#include "freedb/service/FreeDBSettings.h"
#include "freedb/service/ui/FreeDBIcons.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "lang/ui/UiText.h"
#include "platform/Profile.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QToolButton* LevelButton(const QString& strTip, const QIcon& icon, QWidget* pParent) {
    auto* button = new QToolButton(pParent);
    button->setIcon(icon);
    button->setToolTip(strTip);
    button->setAccessibleName(strTip);
    return button;
}
} // namespace

COptionsPage::COptionsPage(SAppContext& context, QWidget* pParent)
    : QWidget(pParent), m_context(context), m_pSample(new QTreeWidget(this)),
      m_pStandard(new QRadioButton(this)), m_pFull(new QRadioButton(this)) {
    const CStringCatalogue& catalogue = context.m_catalogue;
    auto* treeGroup = new QGroupBox(UiText::Load(catalogue, FreeDBText::kTreeViewGroup), this);
    m_pSample->setHeaderHidden(true);
    m_pSample->setAccessibleName(treeGroup->title());
    m_pSample->setItemsExpandable(false);
    m_pSample->setRootIsDecorated(false);
    // The plain arrows: the coloured ones of common themes are drawn pale and look
    // disabled. A theme without them gives its coloured ones.
    auto* up = LevelButton(UiText::Load(catalogue, FreeDBText::kMoveUp),
                           FreeDBIcons::Themed(this, "go-up-symbolic", QStyle::SP_ArrowUp), this);
    auto* down =
        LevelButton(UiText::Load(catalogue, FreeDBText::kMoveDown),
                    FreeDBIcons::Themed(this, "go-down-symbolic", QStyle::SP_ArrowDown), this);
    auto* toggle = LevelButton(
        UiText::Load(catalogue, FreeDBText::kToggleLevel),
        FreeDBIcons::Themed(this, "emblem-default", QStyle::SP_DialogApplyButton), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(up);
    buttons->addWidget(down);
    buttons->addWidget(toggle);
    buttons->addStretch(1);
    auto* treeLayout = new QHBoxLayout(treeGroup);
    treeLayout->addWidget(m_pSample, 1);
    treeLayout->addLayout(buttons);

    auto* logGroup = new QGroupBox(UiText::Load(catalogue, FreeDBText::kLoggingGroup), this);
    m_pStandard->setText(UiText::Load(catalogue, FreeDBText::kStandardLogging));
    m_pFull->setText(UiText::Load(catalogue, FreeDBText::kFullLogging));
    auto* logLayout = new QVBoxLayout(logGroup);
    logLayout->addWidget(m_pStandard);
    logLayout->addWidget(m_pFull);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(treeGroup, 1);
    layout->addWidget(logGroup);

    connect(up, &QToolButton::clicked, this, [this] { MoveSelected(-1); });
    connect(down, &QToolButton::clicked, this, [this] { MoveSelected(1); });
    connect(toggle, &QToolButton::clicked, this, &COptionsPage::ToggleSelected);
    connect(m_pSample, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* pItem) {
        const int level = pItem->data(0, Qt::UserRole).toInt();
        for (CTreeFormat::SLevelItem& item : m_items) {
            if (item.m_nLevel == level && item.m_bShown != (pItem->checkState(0) == Qt::Checked)) {
                item.m_bShown = !item.m_bShown;
                m_bModified = true;
            }
        }
    });
    connect(m_pStandard, &QRadioButton::clicked, this, [this] { m_bModified = true; });
    connect(m_pFull, &QRadioButton::clicked, this, [this] { m_bModified = true; });
    Load();
}

void COptionsPage::Load() {
    CTreeFormat format;
    format.Load(m_context.m_profile);
    m_items = format.Items();
    BuildSample(m_items.front().m_nLevel);
    CFreeDBSettings::SProfileOptions options;
    options.Load(m_context.m_profile);
    (options.m_nLogging != 0 ? m_pFull : m_pStandard)->setChecked(true);
    m_bModified = false;
}

// Each level a child of the one before, as the editor's tree nests them.
void COptionsPage::BuildSample(int nSelected) {
    const QSignalBlocker blocker(m_pSample);
    m_pSample->clear();
    QTreeWidgetItem* parent = nullptr;
    for (const CTreeFormat::SLevelItem& item : m_items) {
        auto* node =
            parent == nullptr ? new QTreeWidgetItem(m_pSample) : new QTreeWidgetItem(parent);
        node->setText(
            0, UiText::Load(m_context.m_catalogue, FreeDBText::kFirstLevelName +
                                                       static_cast<unsigned>(item.m_nLevel) - 1));
        node->setData(0, Qt::UserRole, item.m_nLevel);
        node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        node->setCheckState(0, item.m_bShown ? Qt::Checked : Qt::Unchecked);
        if (item.m_nLevel == nSelected)
            m_pSample->setCurrentItem(node);
        parent = node;
    }
    m_pSample->expandAll();
}

int COptionsPage::SelectedLevel() const {
    const QTreeWidgetItem* current = m_pSample->currentItem();
    return current == nullptr ? 0 : current->data(0, Qt::UserRole).toInt();
}

void COptionsPage::MoveSelected(int nStep) {
    const int level = SelectedLevel();
    for (size_t i = 0; i < m_items.size(); ++i) {
        const long to = static_cast<long>(i) + nStep;
        if (m_items[i].m_nLevel != level || to < 0 || to >= static_cast<long>(m_items.size()))
            continue;
        std::swap(m_items[i], m_items[static_cast<size_t>(to)]);
        m_bModified = true;
        break;
    }
    BuildSample(level);
}

void COptionsPage::ToggleSelected() {
    const int level = SelectedLevel();
    for (CTreeFormat::SLevelItem& item : m_items) {
        if (item.m_nLevel == level) {
            item.m_bShown = !item.m_bShown;
            m_bModified = true;
        }
    }
    BuildSample(level);
}

bool COptionsPage::Store() {
    CFreeDBSettings::SProfileOptions options;
    options.Load(m_context.m_profile);
    options.m_nLogging = m_pFull->isChecked() ? 1 : 0;
    const bool formatSaved = CTreeFormat::FromItems(m_items).Save(m_context.m_profile);
    m_bModified = false;
    return options.Save(m_context.m_profile) && formatSaved;
}
