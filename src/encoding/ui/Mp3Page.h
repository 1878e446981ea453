#pragma once

#include "app/SettingsPage.h"

struct SAppContext;

// The MP3 options page: MPEG version, bit rate or VBR range, quality, sample rate, channel mode,
// frame flags and presets.
class CMp3Page : public CSettingsPage {
    Q_OBJECT
public:
    explicit CMp3Page(SAppContext& context, QWidget* pParent = nullptr);

    QString HelpTopic() const override;
};
