#include "encoding/ui/Mp3Page.h"

#include "app/AppContext.h"
#include "encoding/AppSettings.h"
#include "encoding/EncodingOptions.h"
#include "encoding/ui/BitrateSlider.h"
#include "lang/ui/UiText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {
constexpr unsigned kPrivateLabel = 60497;
constexpr unsigned kOriginalLabel = 60498;
constexpr unsigned kCrcLabel = 60499;
constexpr unsigned kCopyrightLabel = 60500;
constexpr unsigned kQualityLabel = 60501;
constexpr unsigned kPresetsLabel = 60502;
constexpr unsigned kChannelGroup = 60503;
constexpr unsigned kSampleRateGroup = 60504;
constexpr unsigned kFlagsGroup = 60505;
constexpr unsigned kSystemGroup = 60506;
constexpr unsigned kCbrText = 62100;
constexpr unsigned kVbrText = 62101;
constexpr unsigned kMpeg1Text = 62102;
constexpr unsigned kMpeg2Text = 62103;
constexpr unsigned kBitrateLabel = 62104;
constexpr unsigned kMinBitrateLabel = 62105;
constexpr unsigned kMaxBitrateLabel = 62106;
constexpr unsigned kMonoText = 62107;
constexpr unsigned kBitrateGroup = 62110;

QLabel* BuddyLabel(const QString& strText, QWidget* pBuddy, QWidget* pParent) {
    auto* label = new QLabel(strText, pParent);
    label->setBuddy(pBuddy);
    pBuddy->setAccessibleName(strText.trimmed());
    return label;
}
} // namespace

CMp3Page::CMp3Page(SAppContext& context, QWidget* pParent)
    : CSettingsPage(pParent), m_context(context), m_pModeGroup(new QButtonGroup(this)),
      m_pMpegGroup(new QButtonGroup(this)), m_pRateGroup(new QButtonGroup(this)),
      m_pChannelGroup(new QButtonGroup(this)), m_pSlider(new CBitrateSlider(this)),
      m_pMinLabel(nullptr), m_pMaxLabel(nullptr), m_pMinList(new QComboBox(this)),
      m_pMaxList(new QComboBox(this)), m_pQualityLabel(nullptr), m_pQuality(new QComboBox(this)),
      m_pPresets(new QComboBox(this)) {
    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildSystemGroup());
    middle->addWidget(BuildSampleRateGroup());
    middle->addWidget(BuildChannelGroup());
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BuildFlagsGroup(), 1);
    bottom->addWidget(BuildPresets(), 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addWidget(BuildBitrateGroup());
    layout->addLayout(middle);
    layout->addLayout(bottom);
    layout->addStretch(1);
    Connect();
    ShowModel();
}

QRadioButton* CMp3Page::AddRadio(QButtonGroup* pGroup, int nId, unsigned nTextId,
                                 const char* strName) {
    auto* radio = new QRadioButton(UiText::Load(m_context.m_catalogue, nTextId), this);
    radio->setObjectName(QString::fromLatin1(strName));
    pGroup->addButton(radio, nId);
    return radio;
}

QWidget* CMp3Page::BuildBitrateGroup() {
    const CStringCatalogue& catalogue = m_context.m_catalogue;
    auto* group = new QGroupBox(UiText::Load(catalogue, kBitrateGroup), this);
    auto* modes = new QHBoxLayout;
    modes->addWidget(AddRadio(m_pModeGroup, 0, kCbrText, "cbr"));
    modes->addWidget(AddRadio(m_pModeGroup, 1, kVbrText, "vbr"));
    modes->addStretch(1);

    m_pSlider->setObjectName(QStringLiteral("bitrateSlider"));
    m_pSlider->setAccessibleName(group->title());
    m_pMinList->setObjectName(QStringLiteral("minBitrate"));
    m_pMaxList->setObjectName(QStringLiteral("maxBitrate"));
    m_pQuality->setObjectName(QStringLiteral("vbrQuality"));
    m_pMinLabel = BuddyLabel(UiText::Load(catalogue, kBitrateLabel), m_pMinList, group);
    m_pMaxLabel = BuddyLabel(UiText::Load(catalogue, kMaxBitrateLabel), m_pMaxList, group);
    m_pQualityLabel = BuddyLabel(UiText::Load(catalogue, kQualityLabel), m_pQuality, group);
    for (unsigned quality = 0; quality < CEncodingOptions::kVbrQualityChoices; ++quality)
        m_pQuality->addItem(UiText::FromUtf8(CEncodingOptions::VbrQualityText(quality)));
    // The label's width must not change when it switches between its two texts.
    m_pMinLabel->setMinimumWidth(
        std::max(m_pMinLabel->sizeHint().width(),
                 QLabel(UiText::Load(catalogue, kMinBitrateLabel)).sizeHint().width()));

    auto* lists = new QHBoxLayout;
    lists->addWidget(m_pMinLabel);
    lists->addWidget(m_pMinList);
    lists->addSpacing(12);
    lists->addWidget(m_pMaxLabel);
    lists->addWidget(m_pMaxList);
    lists->addStretch(1);
    lists->addWidget(m_pQualityLabel);
    lists->addWidget(m_pQuality);

    auto* layout = new QVBoxLayout(group);
    layout->addLayout(modes);
    layout->addWidget(m_pSlider);
    layout->addLayout(lists);
    return group;
}

QWidget* CMp3Page::BuildSystemGroup() {
    auto* group = new QGroupBox(UiText::Load(m_context.m_catalogue, kSystemGroup), this);
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(2);
    layout->addWidget(AddRadio(m_pMpegGroup, 0, kMpeg1Text, "mpeg1"));
    layout->addWidget(AddRadio(m_pMpegGroup, 1, kMpeg2Text, "mpeg2"));
    layout->addStretch(1);
    return group;
}

QWidget* CMp3Page::BuildSampleRateGroup() {
    auto* group = new QGroupBox(UiText::Load(m_context.m_catalogue, kSampleRateGroup), this);
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(2);
    for (int position = 0; position < CEncodingOptions::kSampleRateChoices; ++position) {
        // Labelled with the rates of the MPEG version shown.
        auto* radio = new QRadioButton(group);
        radio->setObjectName(QStringLiteral("rate%1").arg(position));
        m_pRateGroup->addButton(radio, position);
        layout->addWidget(radio);
    }
    layout->addStretch(1);
    return group;
}

QWidget* CMp3Page::BuildChannelGroup() {
    auto* group = new QGroupBox(UiText::Load(m_context.m_catalogue, kChannelGroup), this);
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(2);
    const char* names[] = {"mono", "jointStereo", "stereo"};
    for (unsigned mode = 0; mode < 3; ++mode)
        layout->addWidget(
            AddRadio(m_pChannelGroup, static_cast<int>(mode), kMonoText + mode, names[mode]));
    layout->addStretch(1);
    return group;
}

QWidget* CMp3Page::BuildFlagsGroup() {
    auto* group = new QGroupBox(UiText::Load(m_context.m_catalogue, kFlagsGroup), this);
    auto* layout = new QGridLayout(group);
    const unsigned labels[] = {kPrivateLabel, kCrcLabel, kCopyrightLabel, kOriginalLabel};
    for (size_t flag = 0; flag < m_flags.size(); ++flag) {
        m_flags[flag] = new QCheckBox(UiText::Load(m_context.m_catalogue, labels[flag]), group);
        layout->addWidget(m_flags[flag], static_cast<int>(flag % 2), static_cast<int>(flag / 2));
    }
    return group;
}

QWidget* CMp3Page::BuildPresets() {
    auto* box = new QWidget(this);
    m_pPresets->setObjectName(QStringLiteral("presets"));
    m_pPresets->setMinimumContentsLength(8);
    // The empty first entry chooses nothing.
    m_pPresets->addItem(QString());
    for (const SMp3Preset& preset : CEncodingOptions::kPresets)
        m_pPresets->addItem(UiText::FromUtf8(preset.m_strName));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(
        BuddyLabel(UiText::Load(m_context.m_catalogue, kPresetsLabel), m_pPresets, box));
    layout->addWidget(m_pPresets);
    return box;
}

void CMp3Page::Connect() {
    connect(m_pModeGroup, &QButtonGroup::idClicked, this, [this](int nId) {
        m_model.SetVbr(nId == 1);
        ShowModel();
    });
    connect(m_pMpegGroup, &QButtonGroup::idClicked, this, [this](int nId) {
        m_model.SetMpegVersion(static_cast<unsigned>(nId));
        ShowModel();
    });
    connect(m_pRateGroup, &QButtonGroup::idClicked, this,
            [this](int nId) { m_model.SetSampleRatePosition(nId); });
    connect(m_pChannelGroup, &QButtonGroup::idClicked, this,
            [this](int nId) { m_model.SetChannelMode(static_cast<unsigned>(nId)); });
    connect(m_pSlider, &CBitrateSlider::ThumbsMoved, this, &CMp3Page::OnThumbsMoved);
    connect(m_pMinList, &QComboBox::activated, this,
            [this](int nIndex) { OnListChosen(false, nIndex); });
    connect(m_pMaxList, &QComboBox::activated, this,
            [this](int nIndex) { OnListChosen(true, nIndex); });
    connect(m_pQuality, &QComboBox::activated, this,
            [this](int nIndex) { m_model.SetVbrQuality(static_cast<unsigned>(nIndex)); });
    bool CMp3PageModel::*flags[] = {&CMp3PageModel::m_bPrivate, &CMp3PageModel::m_bCrc,
                                    &CMp3PageModel::m_bCopyright, &CMp3PageModel::m_bOriginal};
    for (size_t flag = 0; flag < m_flags.size(); ++flag) {
        connect(m_flags[flag], &QCheckBox::toggled, this,
                [this, member = flags[flag]](bool bOn) { m_model.*member = bOn; });
    }
    connect(m_pPresets, &QComboBox::activated, this, &CMp3Page::OnPresetChosen);
}

void CMp3Page::LoadFromSettings() {
    m_model.LoadFromSettings(m_context.m_settings);
    m_pPresets->setCurrentIndex(0);
    ShowModel();
}

void CMp3Page::StoreToSettings() {
    m_model.CommitMp3Tab(m_context.m_settings);
}

QString CMp3Page::HelpTopic() const {
    return QStringLiteral("04_tab_mp3_settings.htm");
}

void CMp3Page::ShowModel() {
    const QSignalBlocker blockFlags[] = {QSignalBlocker(m_flags[0]), QSignalBlocker(m_flags[1]),
                                         QSignalBlocker(m_flags[2]), QSignalBlocker(m_flags[3])};
    m_pModeGroup->button(m_model.m_bVbr ? 1 : 0)->setChecked(true);
    m_pMpegGroup->button(static_cast<int>(m_model.m_nMpegVersion))->setChecked(true);

    const auto& rates =
        CEncodingOptions::kSampleRates[CEncodingOptions::Row(m_model.m_nMpegVersion)];
    // A stored rate the version does not offer leaves every button unchecked.
    m_pRateGroup->setExclusive(false);
    for (int position = 0; position < CEncodingOptions::kSampleRateChoices; ++position) {
        QAbstractButton* button = m_pRateGroup->button(position);
        button->setText(UiText::FromUtf8(CEncodingOptions::SampleRateText(rates[position])));
        button->setChecked(position == m_model.m_nSampleRatePosition);
    }
    m_pRateGroup->setExclusive(true);
    m_pChannelGroup->setExclusive(false);
    for (QAbstractButton* button : m_pChannelGroup->buttons())
        button->setChecked(m_pChannelGroup->id(button) == static_cast<int>(m_model.m_nChannelMode));
    m_pChannelGroup->setExclusive(true);

    m_pQuality->setCurrentIndex(static_cast<int>(m_model.m_nVbrQuality));
    m_pQuality->setEnabled(m_model.m_bVbr);
    m_pQualityLabel->setEnabled(m_model.m_bVbr);
    m_flags[0]->setChecked(m_model.m_bPrivate);
    m_flags[1]->setChecked(m_model.m_bCrc);
    m_flags[2]->setChecked(m_model.m_bCopyright);
    m_flags[3]->setChecked(m_model.m_bOriginal);
    ShowBitrates();
}

void CMp3Page::ShowBitrates() {
    const auto& row = CEncodingOptions::kBitrates[CEncodingOptions::Row(m_model.m_nMpegVersion)];
    QStringList texts;
    QStringList ticks;
    for (int position = 0; position < CEncodingOptions::kBitrateChoices; ++position) {
        texts << UiText::FromUtf8(CEncodingOptions::BitrateText(row[position]));
        ticks << QString::number(row[position]);
    }
    m_pSlider->SetLabels(ticks);
    for (QComboBox* list : {m_pMinList, m_pMaxList}) {
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(texts);
    }
    const bool vbr = m_model.m_bVbr;
    const int first =
        m_model.ShownPosition(vbr ? m_model.m_nVbrMinPosition : m_model.m_nCbrPosition);
    const int second = m_model.ShownPosition(m_model.m_nVbrMaxPosition);
    if (vbr)
        m_pSlider->ShowRange(first, second);
    else
        m_pSlider->ShowSingle(first);
    m_pMinList->setCurrentIndex(first);
    m_pMaxList->setCurrentIndex(second);
    m_pMinLabel->setText(
        UiText::Load(m_context.m_catalogue, vbr ? kMinBitrateLabel : kBitrateLabel));
    m_pMaxLabel->setEnabled(vbr);
    m_pMaxList->setEnabled(vbr);
}

void CMp3Page::OnThumbsMoved(double dFirst, double dSecond) {
    if (m_model.m_bVbr)
        m_model.SetVbrThumbs(dFirst, dSecond);
    else
        m_model.SetCbrThumb(dFirst);
    ShowBitrates();
}

void CMp3Page::OnListChosen(bool bMaximumList, int nPosition) {
    if (!m_model.m_bVbr)
        m_model.SetCbrPosition(nPosition);
    else if (bMaximumList)
        m_model.SetVbrMaxPosition(nPosition);
    else
        m_model.SetVbrMinPosition(nPosition);
    ShowBitrates();
}

void CMp3Page::OnPresetChosen(int nIndex) {
    if (nIndex <= 0 || nIndex > CEncodingOptions::kPresetCount)
        return;
    m_model.ApplyPreset(CEncodingOptions::kPresets[static_cast<size_t>(nIndex - 1)]);
    ShowModel();
}
