#include "filelist/ui/SymbolReplacementDialog.h"

#include "filelist/SymbolReplacement.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr unsigned kCaption = 4043;
constexpr unsigned kExplanation = 4044;
constexpr unsigned kDoubleSpaces = 4046;
constexpr unsigned kDoubleDots = 4047;
constexpr unsigned kCancelText = 59479;
constexpr unsigned kHelpText = 4024;
constexpr std::string_view kHelpSection = "BarMain";
constexpr int kRows = 3;
} // namespace

CSymbolReplacementDialog::CSymbolReplacementDialog(CProfile& profile,
                                                   const CStringCatalogue& catalogue,
                                                   QAction* pHelp, QWidget* pParent)
    : QDialog(pParent), m_profile(profile),
      m_pDoubleSpaces(new QCheckBox(UiText::Load(catalogue, kDoubleSpaces), this)),
      m_pDoubleDots(new QCheckBox(UiText::Load(catalogue, kDoubleDots), this)) {
    setWindowTitle(UiText::Load(catalogue, kCaption));
    auto* explanation = new QLabel(UiText::Load(catalogue, kExplanation), this);
    explanation->setWordWrap(true);

    const CSymbolReplacement table = CSymbolReplacement::Load(profile);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    // Three rows of three: * ? <, \ " >, / | : (keys 1, 4, 7 in the first row).
    for (size_t key = 0; key < m_edits.size(); ++key) {
        const QString symbol{QLatin1Char(CSymbolReplacement::kSymbols[key])};
        auto* label = new QLabel(QStringLiteral("<b>%1</b>").arg(symbol.toHtmlEscaped()), this);
        m_edits[key] = new QLineEdit(UiText::FromUtf8(table.m_strReplacements[key]), this);
        m_edits[key]->setAccessibleName(symbol);
        m_edits[key]->setMaximumWidth(
            m_edits[key]->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 8);
        label->setBuddy(m_edits[key]);
        const int row = static_cast<int>(key) % kRows;
        const int column = static_cast<int>(key) / kRows * 2;
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(m_edits[key], row, column + 1);
    }
    m_pDoubleSpaces->setChecked(table.m_bDeleteDoubleSpaces);
    m_pDoubleDots->setChecked(table.m_bDeleteDoubleDots);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(UiText::Load(catalogue, kCancelText), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(
        UiText::FromUtf8(catalogue.LoadUiStringFromSection(kHelpText, kHelpSection)),
        QDialogButtonBox::HelpRole);
    help->setEnabled(pHelp != nullptr && pHelp->isEnabled());
    if (pHelp != nullptr) {
        connect(pHelp, &QAction::enabledChanged, help, &QPushButton::setEnabled);
        connect(help, &QPushButton::clicked, pHelp, &QAction::trigger);
        // Its key as well, as in the main window.
        addAction(pHelp);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Save();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(grid);
    layout->addWidget(m_pDoubleSpaces);
    layout->addWidget(m_pDoubleDots);
    layout->addWidget(buttons);
}

void CSymbolReplacementDialog::Save() {
    CSymbolReplacement table;
    for (size_t key = 0; key < m_edits.size(); ++key)
        table.m_strReplacements[key] = UiText::ToUtf8(m_edits[key]->text());
    table.m_bDeleteDoubleSpaces = m_pDoubleSpaces->isChecked();
    table.m_bDeleteDoubleDots = m_pDoubleDots->isChecked();
    table.Save(m_profile);
}
