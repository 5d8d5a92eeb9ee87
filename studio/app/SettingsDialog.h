#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class SettingsDialog;
}

class AbstractSettingsPage;
class QAbstractButton;

// The host's settings dialog: a list of pages, the current page's widget
// beside it, and OK / Apply / Cancel / Restore Defaults. Page widgets are
// asked for when a page is first shown and released when the dialog closes.
// Tab goes from the list through the page's controls to the buttons; the
// dialog opens with the page's first control focused and no larger than
// the screen.
//
// A page that throws (a std::system_error when a peer module is missing)
// is reported through errorShown() and, unless turned off, a message box;
// the dialog stays usable and the other pages keep their state.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // `pages` in the order to list them; pages that are not available are
    // left out.
    explicit SettingsDialog(std::vector<std::shared_ptr<AbstractSettingsPage>> pages,
                            QWidget *parent = nullptr);
    ~SettingsDialog() override;

    int pageCount() const;
    int currentPage() const;
    // Selects the page with this id; false when there is none.
    bool selectPage(const std::string &id);
    // The widget the dialog holds for a page (null before it was shown).
    QWidget *pageWidget(int index) const;

    // The Apply button: validates, then applies every page that has a
    // widget. True when every page applied without error.
    bool applyAll();
    // Restore Defaults on the current page, without asking (the button
    // asks first). Does nothing while the device is active.
    void restoreCurrentDefaults();

    // While the device is active its page is read-only: the dialog says so
    // and turns off Apply and Restore Defaults.
    void setDeviceActive(bool active);

    // Releases every page widget and loads the current page afresh, so it
    // shows what changed outside the dialog (e.g. the device connected).
    void reloadPages();

    // Tests and batch runs turn the message box off and read errorShown().
    void setMessageBoxesEnabled(bool on);

public slots:
    void accept() override;
    void reject() override;
    void done(int result) override;

signals:
    void errorShown(const QString &message);
    // After Apply and after Restore Defaults: the pages wrote to the stores.
    void storesWritten();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void on_listWidgetPages_currentRowChanged(int row);
    void on_buttonBox_clicked(QAbstractButton *button);

private:
    struct PageSlot
    {
        std::shared_ptr<AbstractSettingsPage> page;
        QString title;
        QPointer<QWidget> widget; // the page's widget in the stack
        QPointer<QWidget> placeholder; // shown instead when the page failed
        bool requested = false; // widget() was called since the last release
    };

    // Runs one call into a page; reports and answers false if it throws.
    bool guarded(int index, const std::function<void()> &call);
    void report(const QString &message);
    void showPage(int index);
    void focusPage(QWidget *page);
    void askRestoreDefaults();
    void fitToScreen();
    void refreshTitles();
    void releaseWidgets();

    std::unique_ptr<Ui::SettingsDialog> m_ui;
    std::vector<PageSlot> m_pages;
    bool m_messageBoxes = true;
    bool m_deviceActive = false;
};
