#include "filelist/ui/SkipFilesDialog.h"

#include "encoding/WaveReader.h"
#include "filelist/FileList.h"
#include "lang/ui/UiText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr unsigned kCaption = 4032;
constexpr unsigned kDontShowText = 4033;
constexpr unsigned kExplanation = 4034;
constexpr unsigned kNumberHeader = 62220;
constexpr unsigned kFileNameHeader = 62221;
constexpr unsigned kReasonHeader = 62222;
} // namespace

CSkipFilesDialog::CSkipFilesDialog(const std::vector<SSkippedFile>& files, bool& bDontShow,
                                   const CStringCatalogue& catalogue, QWidget* pParent)
    : QDialog(pParent) {
    setWindowTitle(UiText::Load(catalogue, kCaption));
    auto* explanation = new QLabel(UiText::Load(catalogue, kExplanation), this);
    explanation->setWordWrap(true);

    auto* table = new QTableWidget(static_cast<int>(files.size()), 3, this);
    table->setHorizontalHeaderLabels({UiText::Load(catalogue, kNumberHeader),
                                      UiText::Load(catalogue, kFileNameHeader),
                                      UiText::Load(catalogue, kReasonHeader)});
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setShowGrid(true);
    table->setWordWrap(false);
    table->setAccessibleName(UiText::Load(catalogue, kCaption));
    for (size_t i = 0; i < files.size(); ++i) {
        const int row = static_cast<int>(i);
        auto* number = new QTableWidgetItem(QString::number(row + 1));
        number->setTextAlignment(Qt::AlignCenter);
        table->setItem(row, 0, number);
        table->setItem(row, 1, new QTableWidgetItem(UiText::FromUtf8(files[i].m_strPath)));
        table->setItem(row, 2,
                       new QTableWidgetItem(UiText::FromUtf8(
                           CWaveReader::RefusalText(files[i].m_refusal, catalogue))));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    explanation->setBuddy(table);

    auto* dontShow = new QCheckBox(UiText::Load(catalogue, kDontShowText), this);
    dontShow->setChecked(bDontShow);
    connect(dontShow, &QCheckBox::toggled, this,
            [&bDontShow](bool bChecked) { bDontShow = bChecked; });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(table, 1);
    layout->addWidget(dontShow);
    layout->addWidget(buttons);
    resize(560, 320);
}
