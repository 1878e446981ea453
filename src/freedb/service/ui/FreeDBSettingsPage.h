#pragma once

#include "app/SettingsPage.h"

struct SAppContext;

// The FreeDB settings as the main view's fourth page.
class CFreeDBSettingsPage : public CSettingsPage {
    Q_OBJECT
public:
    explicit CFreeDBSettingsPage(SAppContext& context, QWidget* pParent = nullptr);

    QString HelpTopic() const override;
};
