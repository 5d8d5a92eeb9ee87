#pragma once

#include "host/AbstractSettingsPage.h"

#include <QPointer>
#include <QStringList>

// The Device page as it looks with empty stores, built from the page's own
// forms with its popups, hidden widgets and items, but with nothing behind
// it: no plug-in, no stores, no address scan (the addresses are given).
class TwinPage : public AbstractSettingsPage
{
public:
    explicit TwinPage(QStringList addresses);
    ~TwinPage() override;

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
    QStringList m_addresses;
    QPointer<QWidget> m_widget;
};
