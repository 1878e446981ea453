#pragma once

#include "app/SettingsPage.h"
#include "encoding/Mp3PageModel.h"

#include <array>

struct SAppContext;
class CBitrateSlider;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

// The MP3 options page: MPEG version, bit rate or VBR range, quality, sample rate, channel mode,
// frame flags and presets. The controls edit the page model, which keeps list positions; a
// store commits them to the settings. Lives in the window thread.
class CMp3Page : public CSettingsPage {
    Q_OBJECT
public:
    explicit CMp3Page(SAppContext& context, QWidget* pParent = nullptr);

    void LoadFromSettings() override;
    void StoreToSettings() override;
    QString HelpTopic() const override;

    const CMp3PageModel& Model() const { return m_model; }

private:
    QWidget* BuildBitrateGroup();
    QWidget* BuildSystemGroup();
    QWidget* BuildSampleRateGroup();
    QWidget* BuildChannelGroup();
    QWidget* BuildFlagsGroup();
    QWidget* BuildPresets();
    QRadioButton* AddRadio(QButtonGroup* pGroup, int nId, unsigned nTextId, const char* strName);
    void Connect();
    // Shows the model in every control, without echoing the changes back.
    void ShowModel();
    void ShowBitrates();
    void OnThumbsMoved(double dFirst, double dSecond);
    void OnListChosen(bool bMaximumList, int nPosition);
    void OnPresetChosen(int nIndex);

    SAppContext& m_context;
    CMp3PageModel m_model;
    QButtonGroup* m_pModeGroup;
    QButtonGroup* m_pMpegGroup;
    QButtonGroup* m_pRateGroup;
    QButtonGroup* m_pChannelGroup;
    CBitrateSlider* m_pSlider;
    QLabel* m_pMinLabel;
    QLabel* m_pMaxLabel;
    QComboBox* m_pMinList;
    QComboBox* m_pMaxList;
    QLabel* m_pQualityLabel;
    QComboBox* m_pQuality;
    std::array<QCheckBox*, 4> m_flags{};
    QComboBox* m_pPresets;
};
