#pragma once

#include "host/AbstractSettingsPage.h"

#include <QPointer>

class PageWidget;

// The "Device" page as the host's settings dialog sees it: owns the page
// widget, makes it on first request and forwards the dialog's calls to it.
class SettingsPage : public AbstractSettingsPage
{
public:
    SettingsPage();
    ~SettingsPage() override;
    SettingsPage(const SettingsPage &) = delete;
    SettingsPage &operator=(const SettingsPage &) = delete;

    std::string id() override;
    QWidget *widget(QWidget *parent) override;
    QString title() override;
    QWidget *currentWidget() override;
    bool isAvailable() override;
    void prepare() override;
    void retranslate() override;
    bool apply() override;
    void cancel() override;
    bool validate() override;
    void restoreDefaults() override;
    void releaseWidget(bool destroy) override;

private:
    // Made with the dialog's widget as Qt parent: when the dialog deletes it
    // first, the pointer turns null and the next request makes a new one.
    QPointer<PageWidget> pageWidget;
};
