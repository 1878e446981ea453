#include "encoding/ui/Id3Page.h"

#include "app/AppContext.h"
#include "encoding/AppSettings.h"
#include "encoding/EncodeRun.h"
#include "encoding/EncodingOptions.h"
#include "encoding/GenreTable.h"
#include "encoding/PlaylistWriter.h"
#include "encoding/TrackItem.h"
#include "filelist/FileList.h"
#include "filelist/OutputNamer.h"
#include "filelist/ui/SymbolReplacementDialog.h"
#include "lang/StringCatalogue.h"
#include "lang/ui/UiText.h"
#include "platform/PlatformPaths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace {
constexpr unsigned kSameDirText = 4030;
constexpr unsigned kGenreToken = 4031;
constexpr unsigned kSymbolButton = 4045;
constexpr unsigned kTagGroup = 59487;
constexpr unsigned kUseTagText = 59488;
constexpr unsigned kDeleteWavText = 59490;
constexpr unsigned kYearToken = 59491;
constexpr unsigned kNumberToken = 59492;
constexpr unsigned kTitleToken = 59493;
constexpr unsigned kClearText = 59494;
constexpr unsigned kArtistToken = 59495;
constexpr unsigned kAlbumToken = 59496;
constexpr unsigned kAlbumLabel = 59498;
constexpr unsigned kArtistLabel = 59499;
constexpr unsigned kCommentLabel = 59500;
constexpr unsigned kFileNameLabel = 59501;
constexpr unsigned kGenreLabel = 59502;
constexpr unsigned kDirectoryLabel = 59503;
constexpr unsigned kYearLabel = 59504;
constexpr unsigned kNameGroup = 59505;
constexpr unsigned kPriorityLabel = 60507;
constexpr unsigned kSelectDestination = 60492;
constexpr unsigned kNumberLabel = 60513;
constexpr unsigned kExampleLabel = 62120;
constexpr unsigned kPlaylistGroup = 62121;
constexpr unsigned kPlaylistNameLabel = 62122;
constexpr unsigned kFirstPlaylistKind = 62123;
constexpr unsigned kOutputGroup = 62127;
constexpr unsigned kPlaylistKindLabel = 62128;
constexpr unsigned kFirstPriorityCommand = 32802;
constexpr unsigned kJobsLabel = 62129;
constexpr unsigned kJobsAuto = 62130;
// Offered beside "one per core"; a stored number above them is offered as well.
constexpr unsigned kMostJobsOffered = 16;

constexpr const char* kTemplatePresets[] = {
    "[number] - [title]",           "[number] - [title] ([genre])",
    "[number] - [album] - [title]", "[number] - [artist], [album] - [title]",
    "[number] - [genre]",           "[number][title]",
    "[artist] - [number][title]"};
constexpr const char* kNumberStyles[] = {"1, 2, 3, ..., 10, 11, ...",
                                         "01, 02, 03, ..., 10, 11, ...", "A, B, C, D, ...",
                                         "a, b, c, d, ..."};
constexpr const char* kSymbolHelpTopic = "04_tab_id3_tag.htm#symbol_replacement";

// Made editable at once, so that its edit field follows it in the tab chain; Qt's tab order
// calls lose the rest of the chain when the two are apart.
QComboBox* EditableBox(QWidget* pParent) {
    auto* box = new QComboBox(pParent);
    box->setEditable(true);
    return box;
}
} // namespace

CId3Page::CId3Page(SAppContext& context, QWidget* pParent)
    : CSettingsPage(pParent), m_context(context), m_pDestination(new QLineEdit(this)),
      m_pBrowse(new QPushButton(QStringLiteral("..."), this)),
      m_pSameDir(new QCheckBox(UiText::Load(context.m_catalogue, kSameDirText), this)),
      m_pDeleteWav(new QCheckBox(UiText::Load(context.m_catalogue, kDeleteWavText), this)),
      m_pPriority(new QComboBox(this)), m_pJobs(new QComboBox(this)),
      m_pTemplate(EditableBox(this)), m_pNumberStyle(new QComboBox(this)),
      m_pExample(new QLabel(this)),
      m_pUseTag(new QCheckBox(UiText::Load(context.m_catalogue, kUseTagText), this)),
      m_pArtist(new QLineEdit(this)), m_pAlbum(new QLineEdit(this)), m_pYear(new QLineEdit(this)),
      m_pGenre(new QComboBox(this)), m_pCommentLabel(nullptr), m_pComment(new QLineEdit(this)),
      m_pPlaylistKind(new QComboBox(this)), m_pPlaylistFormat(new QLineEdit(this)) {
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 3, 4, 3);
    layout->setSpacing(3);
    layout->addWidget(BuildOutputGroup());
    layout->addWidget(BuildNameGroup());
    auto* lower = new QHBoxLayout;
    lower->addWidget(BuildTagGroup(), 1);
    lower->addWidget(BuildPlaylistGroup());
    layout->addLayout(lower);
    layout->addStretch(1);
    // A window smaller than the default scrolls the page rather than squeezing its rows.
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    SetTabOrder();
}

namespace {
// A list as wide as its current text needs, at least `nCharacters`, so that its longest
// entry does not set the width of the page.
void LimitWidth(QComboBox* pBox, int nCharacters) {
    pBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    pBox->setMinimumContentsLength(nCharacters);
}

// The page's groups keep their rows close, so that the whole page fits the main window.
QGridLayout* CompactGrid(QGroupBox* pGroup) {
    auto* layout = new QGridLayout(pGroup);
    layout->setContentsMargins(8, 2, 8, 4);
    layout->setVerticalSpacing(2);
    return layout;
}
} // namespace

void CId3Page::SetTabOrder() {
    // Row by row as the page reads; the layouts moved the buttons behind the lists.
    std::vector<QWidget*> order = {m_pDestination, m_pBrowse,   m_pSameDir,
                                   m_pDeleteWav,   m_pPriority, m_pJobs};
    order.insert(order.end(), m_nameTabOrder.begin(), m_nameTabOrder.end());
    order.insert(order.end(), {m_pUseTag, m_pArtist, m_pYear, m_pAlbum, m_pGenre, m_pComment,
                               m_pPlaylistKind, m_pPlaylistFormat});
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QLabel* CId3Page::Label(unsigned nTextId, QWidget* pBuddy) {
    auto* label = new QLabel(UiText::Load(m_context.m_catalogue, nTextId), this);
    label->setBuddy(pBuddy);
    pBuddy->setAccessibleName(UiText::WithoutMnemonics(label->text()));
    return label;
}

QWidget* CId3Page::BuildOutputGroup() {
    auto* group = new QGroupBox(UiText::Load(m_context.m_catalogue, kOutputGroup), this);
    m_pDestination->setObjectName(QStringLiteral("destination"));
    m_pDestination->setReadOnly(true);
    m_pBrowse->setObjectName(QStringLiteral("browse"));
    m_pBrowse->setAccessibleName(UiText::Load(m_context.m_catalogue, kSelectDestination));
    m_pBrowse->setToolTip(m_pBrowse->accessibleName());
    m_pBrowse->setFixedWidth(m_pBrowse->fontMetrics().horizontalAdvance(QStringLiteral("....")) +
                             16);
    m_pSameDir->setObjectName(QStringLiteral("sameDir"));
    m_pDeleteWav->setObjectName(QStringLiteral("deleteWav"));
    m_pPriority->setObjectName(QStringLiteral("priority"));
    m_pJobs->setObjectName(QStringLiteral("encodeJobs"));
    FillPriorities();

    auto* layout = CompactGrid(group);
    layout->addWidget(Label(kDirectoryLabel, m_pDestination), 0, 0);
    auto* folder = new QHBoxLayout;
    folder->addWidget(m_pDestination, 1);
    folder->addWidget(m_pBrowse);
    layout->addLayout(folder, 0, 1);
    layout->addWidget(m_pSameDir, 1, 0, 1, 2);
    layout->addWidget(m_pDeleteWav, 2, 0, 1, 2);
    auto* process = new QGridLayout;
    process->addWidget(Label(kPriorityLabel, m_pPriority), 0, 0, Qt::AlignRight);
    process->addWidget(m_pPriority, 0, 1);
    process->addWidget(Label(kJobsLabel, m_pJobs), 1, 0, Qt::AlignRight);
    process->addWidget(m_pJobs, 1, 1);
    layout->addLayout(process, 2, 1, 2, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);

    connect(m_pBrowse, &QPushButton::clicked, this, &CId3Page::OnBrowse);
    connect(m_pSameDir, &QCheckBox::toggled, this, &CId3Page::OnSameDirToggled);
    connect(m_pDeleteWav, &QCheckBox::toggled, this,
            [this](bool bOn) { m_context.m_settings.m_bDelWav = bOn; });
    connect(m_pPriority, &QComboBox::activated, this,
            [this](int nIndex) { m_context.m_settings.m_nThreadPriority = nIndex - 2; });
    connect(m_pJobs, &QComboBox::activated, this, [this](int nIndex) {
        m_context.m_settings.m_nEncodeJobs = m_pJobs->itemData(nIndex).toUInt();
    });
    return group;
}

void CId3Page::FillPriorities() {
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    for (size_t i = 0; i < CEncodingOptions::kThreadPriorityNames.size(); ++i) {
        // With a language the names are the translated menu texts of the priority commands.
        m_pPriority->addItem(catalogue.IsLanguageSelected()
                                 ? UiText::WithoutMnemonics(UiText::Load(
                                       catalogue, kFirstPriorityCommand + static_cast<unsigned>(i)))
                                 : UiText::FromUtf8(CEncodingOptions::kThreadPriorityNames[i]));
    }
}

void CId3Page::FillJobs() {
    // The list holds the stored choice whatever it is; 0 is one job per core.
    const unsigned stored = m_context.m_settings.m_nEncodeJobs;
    m_pJobs->clear();
    m_pJobs->addItem(UiText::FromUtf8(m_context.m_catalogue.FormatUiStringOrBuiltIn(
                         kJobsAuto, static_cast<int>(CEncodeRun::JobsFor(0)))),
                     0u);
    for (unsigned jobs = 1; jobs <= std::max(kMostJobsOffered, stored); ++jobs) {
        if (jobs <= kMostJobsOffered || jobs == stored)
            m_pJobs->addItem(QString::number(jobs), jobs);
    }
    m_pJobs->setCurrentIndex(m_pJobs->findData(stored));
}

QPushButton* CId3Page::AddTokenButton(unsigned nTextId) {
    const QString token = UiText::Load(m_context.m_catalogue, nTextId);
    auto* button = new QPushButton(token, this);
    button->setAutoDefault(false);
    // As narrow as the token, so the six fit beside each other in a small window.
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(token) + 16);
    button->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    connect(button, &QPushButton::clicked, this, [this, nTextId] {
        // The token itself, whatever the button shows in a language.
        static constexpr std::pair<unsigned, const char*> kTokens[] = {
            {kNumberToken, "[number]"}, {kTitleToken, "[title]"}, {kArtistToken, "[artist]"},
            {kAlbumToken, "[album]"},   {kYearToken, "[year]"},   {kGenreToken, "[genre]"}};
        for (const auto& [id, token] : kTokens) {
            if (id == nTextId)
                m_pTemplate->setEditText(m_pTemplate->currentText() + QLatin1String(token));
        }
        m_pTemplate->setFocus();
        RefreshPreview();
    });
    return button;
}

QWidget* CId3Page::BuildNameGroup() {
    auto* group = new QGroupBox(UiText::Load(m_context.m_catalogue, kNameGroup), this);
    m_pTemplate->setObjectName(QStringLiteral("template"));
    m_pTemplate->setInsertPolicy(QComboBox::NoInsert);
    for (const char* preset : kTemplatePresets)
        m_pTemplate->addItem(QString::fromLatin1(preset));
    auto* clear = new QPushButton(UiText::Load(m_context.m_catalogue, kClearText), this);
    clear->setAutoDefault(false);
    m_pNumberStyle->setObjectName(QStringLiteral("numberStyle"));
    for (const char* style : kNumberStyles)
        m_pNumberStyle->addItem(QString::fromLatin1(style));
    auto* symbols = new QPushButton(UiText::Load(m_context.m_catalogue, kSymbolButton), this);
    symbols->setAutoDefault(false);
    m_pExample->setObjectName(QStringLiteral("example"));
    m_pExample->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pExample->setTextFormat(Qt::PlainText);

    auto* tokens = new QHBoxLayout;
    m_nameTabOrder = {m_pTemplate, clear, symbols};
    for (unsigned id :
         {kNumberToken, kTitleToken, kArtistToken, kAlbumToken, kYearToken, kGenreToken}) {
        m_nameTabOrder.push_back(AddTokenButton(id));
        tokens->addWidget(m_nameTabOrder.back());
    }
    tokens->addStretch(1);
    m_nameTabOrder.push_back(m_pNumberStyle);

    LimitWidth(m_pTemplate, 20);
    LimitWidth(m_pNumberStyle, 22);
    auto* layout = CompactGrid(group);
    layout->addWidget(Label(kFileNameLabel, m_pTemplate), 0, 0);
    auto* name = new QHBoxLayout;
    name->addWidget(m_pTemplate, 1);
    name->addWidget(clear);
    name->addWidget(symbols);
    layout->addLayout(name, 0, 1);
    layout->addLayout(tokens, 1, 1);
    layout->addWidget(Label(kNumberLabel, m_pNumberStyle), 2, 0);
    m_pExample->setAccessibleName(UiText::Load(m_context.m_catalogue, kExampleLabel));
    // A long example is cut at the page's edge rather than widening the page.
    m_pExample->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* style = new QHBoxLayout;
    style->addWidget(m_pNumberStyle);
    style->addSpacing(12);
    style->addWidget(new QLabel(m_pExample->accessibleName(), this));
    style->addSpacing(4);
    style->addWidget(m_pExample, 1);
    layout->addLayout(style, 2, 1);
    layout->setColumnStretch(1, 1);

    connect(m_pTemplate, &QComboBox::editTextChanged, this, &CId3Page::RefreshPreview);
    connect(clear, &QPushButton::clicked, this, [this] {
        m_pTemplate->clearEditText();
        RefreshPreview();
    });
    connect(m_pNumberStyle, &QComboBox::activated, this, &CId3Page::OnNumberStyleChosen);
    connect(symbols, &QPushButton::clicked, this, &CId3Page::OpenSymbolReplacement);
    return group;
}

QWidget* CId3Page::BuildTagGroup() {
    auto* group = new QGroupBox(UiText::Load(m_context.m_catalogue, kTagGroup), this);
    m_pUseTag->setObjectName(QStringLiteral("useTag"));
    m_pArtist->setObjectName(QStringLiteral("artist"));
    m_pAlbum->setObjectName(QStringLiteral("album"));
    m_pYear->setObjectName(QStringLiteral("year"));
    m_pYear->setMaxLength(4);
    m_pGenre->setObjectName(QStringLiteral("genre"));
    m_pComment->setObjectName(QStringLiteral("comment"));
    // Row order, so the list position is the genre row; row 0 is the empty genre.
    for (unsigned row = 0; row < CGenreTable::kRowCount; ++row)
        m_pGenre->addItem(UiText::FromUtf8(CGenreTable::GenreName(row)));
    m_pGenre->setMaxVisibleItems(20);
    LimitWidth(m_pGenre, 10);
    m_pCommentLabel = Label(kCommentLabel, m_pComment);

    auto* layout = CompactGrid(group);
    layout->addWidget(m_pUseTag, 0, 0, 1, 4);
    layout->addWidget(Label(kArtistLabel, m_pArtist), 1, 0);
    layout->addWidget(m_pArtist, 1, 1);
    layout->addWidget(Label(kYearLabel, m_pYear), 1, 2);
    layout->addWidget(m_pYear, 1, 3);
    layout->addWidget(Label(kAlbumLabel, m_pAlbum), 2, 0);
    layout->addWidget(m_pAlbum, 2, 1);
    layout->addWidget(Label(kGenreLabel, m_pGenre), 2, 2);
    layout->addWidget(m_pGenre, 2, 3);
    layout->addWidget(m_pCommentLabel, 3, 0);
    layout->addWidget(m_pComment, 3, 1, 1, 3);
    layout->setColumnStretch(1, 1);

    connect(m_pUseTag, &QCheckBox::toggled, m_pComment, &QWidget::setEnabled);
    connect(m_pUseTag, &QCheckBox::toggled, m_pCommentLabel, &QWidget::setEnabled);
    for (QLineEdit* field : {m_pArtist, m_pAlbum, m_pYear, m_pComment})
        connect(field, &QLineEdit::textEdited, this, &CId3Page::StoreTagFields);
    connect(m_pGenre, &QComboBox::activated, this, &CId3Page::StoreTagFields);
    return group;
}

QWidget* CId3Page::BuildPlaylistGroup() {
    auto* group = new QGroupBox(UiText::Load(m_context.m_catalogue, kPlaylistGroup), this);
    m_pPlaylistKind->setObjectName(QStringLiteral("playlistKind"));
    m_pPlaylistFormat->setObjectName(QStringLiteral("playlistFormat"));
    for (unsigned kind = 0; kind < CEncodingOptions::kPlaylistKindNames.size(); ++kind)
        m_pPlaylistKind->addItem(UiText::Load(m_context.m_catalogue, kFirstPlaylistKind + kind));
    m_pPlaylistKind->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* layout = CompactGrid(group);
    layout->addWidget(Label(kPlaylistKindLabel, m_pPlaylistKind), 0, 0);
    layout->addWidget(m_pPlaylistKind, 1, 0);
    layout->addWidget(Label(kPlaylistNameLabel, m_pPlaylistFormat), 2, 0);
    layout->addWidget(m_pPlaylistFormat, 3, 0);
    layout->setRowStretch(4, 1);
    connect(m_pPlaylistKind, &QComboBox::activated, this, &CId3Page::OnPlaylistChanged);
    connect(m_pPlaylistFormat, &QLineEdit::textEdited, this, &CId3Page::OnPlaylistChanged);
    return group;
}

void CId3Page::LoadFromSettings() {
    const CAppSettings& settings = m_context.m_settings;
    const QSignalBlocker blockers[] = {QSignalBlocker(m_pSameDir), QSignalBlocker(m_pDeleteWav),
                                       QSignalBlocker(m_pTemplate), QSignalBlocker(m_pUseTag)};
    ShowDestination();
    m_pSameDir->setChecked(settings.m_bSameDir != 0);
    m_pDeleteWav->setChecked(settings.m_bDelWav);
    m_pPriority->setCurrentIndex(std::clamp(settings.m_nThreadPriority, -2, 2) + 2);
    FillJobs();
    m_pTemplate->setEditText(UiText::FromUtf8(settings.m_strOutputFileFormat));
    m_pNumberStyle->setCurrentIndex(static_cast<int>(std::min(settings.m_nNumberStyle, 3u)));
    m_pUseTag->setChecked(settings.m_bUseId3Tag);
    m_pComment->setEnabled(settings.m_bUseId3Tag);
    m_pCommentLabel->setEnabled(settings.m_bUseId3Tag);
    m_pArtist->setText(UiText::FromUtf8(settings.m_strArtist));
    m_pAlbum->setText(UiText::FromUtf8(settings.m_strAlbum));
    m_pYear->setText(UiText::FromUtf8(settings.m_strYear));
    m_pGenre->setCurrentIndex(
        settings.m_nGenre < CGenreTable::kRowCount ? static_cast<int>(settings.m_nGenre) : 0);
    m_pComment->setText(UiText::FromUtf8(settings.m_strComment));
    m_pPlaylistKind->setCurrentIndex(static_cast<int>(std::min(settings.m_nPlaylistType, 3u)));
    m_pPlaylistFormat->setText(UiText::FromUtf8(settings.m_strPlaylistFormat));
    m_pPlaylistFormat->setEnabled(settings.m_nPlaylistType != 0);
    RefreshPreview();
}

void CId3Page::StoreToSettings() {
    CAppSettings& settings = m_context.m_settings;
    settings.m_strOutputFileFormat = UiText::ToUtf8(TemplateText());
    settings.m_bUseId3Tag = m_pUseTag->isChecked();
    StoreTagFields();
}

void CId3Page::StoreTagFields() {
    CAppSettings& settings = m_context.m_settings;
    settings.m_strArtist = UiText::ToUtf8(m_pArtist->text());
    settings.m_strAlbum = UiText::ToUtf8(m_pAlbum->text());
    settings.m_strYear = UiText::ToUtf8(m_pYear->text());
    settings.m_nGenre = static_cast<unsigned>(std::max(m_pGenre->currentIndex(), 0));
    settings.m_strComment = UiText::ToUtf8(m_pComment->text());
    CPlaylistWriter::MakePlaylistName(settings, m_context.m_profile);
    RefreshPreview();
}

void CId3Page::RefreshPreview() {
    const CTrackList& tracks = m_context.m_fileList.Tracks();
    const std::string firstTitle = tracks.Empty() ? std::string() : tracks.At(0).m_strTitle;
    const COutputNamer namer(m_context.m_settings, m_context.m_profile);
    m_pExample->setText(UiText::FromUtf8(namer.ExampleName(
        UiText::ToUtf8(TemplateText()), firstTitle, UiText::ToUtf8(m_pArtist->text()),
        UiText::ToUtf8(m_pAlbum->text()), UiText::ToUtf8(m_pYear->text()),
        static_cast<unsigned>(std::max(m_pGenre->currentIndex(), 0)))));
    // The whole name, where the row cuts a long one.
    m_pExample->setToolTip(m_pExample->text());
}

QString CId3Page::HelpTopic() const {
    if (m_bSymbolWindowOpen)
        return QString::fromLatin1(kSymbolHelpTopic);
    return QStringLiteral("04_tab_id3_tag.htm");
}

QString CId3Page::ExampleText() const {
    return m_pExample->text();
}

QString CId3Page::TemplateText() const {
    return m_pTemplate->currentText();
}

void CId3Page::ShowDestination() {
    const bool sameDir = m_context.m_settings.m_bSameDir != 0;
    m_pDestination->setText(UiText::FromUtf8(m_context.m_settings.m_strOutputDir));
    m_pDestination->setEnabled(!sameDir);
    m_pBrowse->setEnabled(!sameDir);
}

void CId3Page::OnBrowse() {
    emit DestinationRequested();
    std::string& destination = m_context.m_settings.m_strOutputDir;
    if (destination.empty())
        destination = CPlatformPaths::HomeDir();
    ShowDestination();
}

void CId3Page::OnSameDirToggled(bool bOn) {
    StoreToSettings();
    m_context.m_settings.m_bSameDir = bOn ? 1 : 0;
    m_context.m_fileList.ApplySettings();
    ShowDestination();
    emit FoldersChanged();
}

void CId3Page::OnNumberStyleChosen(int nStyle) {
    CAppSettings& settings = m_context.m_settings;
    settings.m_strOutputFileFormat = UiText::ToUtf8(TemplateText());
    settings.m_nNumberStyle = static_cast<unsigned>(nStyle);
    m_context.m_fileList.ApplySettings();
    RefreshPreview();
}

void CId3Page::OnPlaylistChanged() {
    CAppSettings& settings = m_context.m_settings;
    settings.m_nPlaylistType = static_cast<unsigned>(std::max(m_pPlaylistKind->currentIndex(), 0));
    settings.m_strPlaylistFormat = UiText::ToUtf8(m_pPlaylistFormat->text());
    m_pPlaylistFormat->setEnabled(settings.m_nPlaylistType != 0);
    CPlaylistWriter::MakePlaylistName(settings, m_context.m_profile);
}

void CId3Page::OpenSymbolReplacement() {
    CSymbolReplacementDialog dialog(m_context.m_profile, m_context.m_catalogue, m_pHelpAction,
                                    this);
    m_bSymbolWindowOpen = true;
    const int result = dialog.exec();
    m_bSymbolWindowOpen = false;
    if (result == QDialog::Accepted)
        RefreshPreview();
}
