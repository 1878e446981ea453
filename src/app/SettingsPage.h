#pragma once

#include <QWidget>

// A page of the main view that edits settings. The view runs the three operations on
// every tab switch: the page it leaves stores its controls into the settings, the page it
// shows loads them, and a page with a preview refreshes it.
class CSettingsPage : public QWidget {
public:
    using QWidget::QWidget;

    virtual void RefreshPreview() {}
    virtual void LoadFromSettings() {}
    virtual void StoreToSettings() {}
    // The help topic that explains this page.
    virtual QString HelpTopic() const = 0;
};
