#pragma once

#include "host/OrvaneGlobal.h"

#include <QString>

#include <string>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// A page of the host's settings dialog ("uis_manager" owns and drives it).
// The dialog asks for the widget when it first shows the page, then applies,
// cancels, validates, restores defaults and releases it.
class ORVANE_EXPORT AbstractSettingsPage
{
public:
    // Identifier of the page, never translated.
    virtual std::string id() = 0;
    // The page's widget, created with `parent` on the first call.
    virtual QWidget *widget(QWidget *parent) = 0;
    // The page's title in the current language.
    virtual QString title() = 0;
    // The widget if it exists; never creates one.
    virtual QWidget *currentWidget() = 0;
    virtual bool isAvailable() = 0;
    virtual void prepare() = 0;
    // Re-applies the texts after a change of language.
    virtual void retranslate() = 0;
    // Stores what the widget shows.
    virtual bool apply() = 0;
    virtual void cancel() = 0;
    virtual bool validate() = 0;
    // Forgets the stored values and shows the defaults.
    virtual void restoreDefaults() = 0;
    // Lets go of the widget; deletes it when `destroy` is true.
    virtual void releaseWidget(bool destroy) = 0;
    virtual ~AbstractSettingsPage();
};
