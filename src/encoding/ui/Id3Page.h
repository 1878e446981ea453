#pragma once

#include "app/SettingsPage.h"

struct SAppContext;

// The output and tag page: destination folder, file name template and number style, tag fields,
// playlist and priority.
class CId3Page : public CSettingsPage {
    Q_OBJECT
public:
    explicit CId3Page(SAppContext& context, QWidget* pParent = nullptr);

    QString HelpTopic() const override;
};
