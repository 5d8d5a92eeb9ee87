#include "SettingsDialog.h"
#include "ui_SettingsDialog.h"

#include "LookupWatch.h"
#include "host/AbstractSettingsPage.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <exception>
#include <system_error>

SettingsDialog::SettingsDialog(std::vector<std::shared_ptr<AbstractSettingsPage>> pages,
                               QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::SettingsDialog>())
{
    m_ui->setupUi(this);
    for (std::shared_ptr<AbstractSettingsPage> &page : pages) {
        if (!page)
            continue;
        PageSlot slot;
        slot.page = std::move(page);
        m_pages.push_back(std::move(slot));
    }
    // Pages that say they are unavailable are not listed.
    for (size_t i = 0; i < m_pages.size();) {
        bool available = false;
        if (guarded(int(i), [&] { available = m_pages[i].page->isAvailable(); }) && available)
            ++i;
        else
            m_pages.erase(m_pages.begin() + long(i));
    }
    refreshTitles();
    if (!m_pages.empty())
        m_ui->listWidgetPages->setCurrentRow(0);
}

SettingsDialog::~SettingsDialog()
{
    // The stack must not delete the pages' widgets: each page owns its own.
    m_messageBoxes = false;
    releaseWidgets();
}

int SettingsDialog::pageCount() const { return int(m_pages.size()); }

int SettingsDialog::currentPage() const { return m_ui->listWidgetPages->currentRow(); }

bool SettingsDialog::selectPage(const std::string &id)
{
    for (size_t i = 0; i < m_pages.size(); ++i) {
        std::string pageId;
        if (guarded(int(i), [&] { pageId = m_pages[i].page->id(); }) && pageId == id) {
            m_ui->listWidgetPages->setCurrentRow(int(i));
            return true;
        }
    }
    return false;
}

QWidget *SettingsDialog::pageWidget(int index) const
{
    if (index < 0 || index >= pageCount())
        return nullptr;
    return m_pages[size_t(index)].widget;
}

void SettingsDialog::setMessageBoxesEnabled(bool on) { m_messageBoxes = on; }

bool SettingsDialog::guarded(int index, const std::function<void()> &call)
{
    LookupWatch watch;
    QString reason;
    QString module;
    try {
        call();
        return true;
    } catch (const std::system_error &e) {
        reason = QString::fromStdString(e.code().message());
        module = QString::fromStdString(watch.lastFailedName());
    } catch (const std::exception &e) {
        reason = QString::fromUtf8(e.what());
    } catch (...) {
        reason = tr("unknown error");
    }
    const QString title = m_pages[size_t(index)].title.isEmpty() ? tr("page %1").arg(index + 1)
                                                                 : m_pages[size_t(index)].title;
    if (module.isEmpty())
        report(tr("The settings page “%1” failed: %2").arg(title, reason));
    else
        report(tr("The settings page “%1” failed on the module “%2”: %3").arg(title, module, reason));
    return false;
}

void SettingsDialog::report(const QString &message)
{
    emit errorShown(message);
    if (!m_messageBoxes)
        return;
    // Window-modal and not blocking: the dialog's own work is not
    // interrupted by a nested event loop.
    auto *box =
            new QMessageBox(QMessageBox::Warning, tr("Settings"), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void SettingsDialog::refreshTitles()
{
    QListWidget *list = m_ui->listWidgetPages;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        QString title;
        if (guarded(int(i), [&] { title = m_pages[i].page->title(); }))
            m_pages[i].title = title;
        if (int(i) < list->count())
            list->item(int(i))->setText(m_pages[i].title);
        else
            list->addItem(m_pages[i].title);
    }
}

void SettingsDialog::showPage(int index)
{
    if (index < 0 || index >= pageCount())
        return;
    PageSlot &slot = m_pages[size_t(index)];
    QStackedWidget *stack = m_ui->stackedWidgetPages;
    if (!slot.widget && !slot.placeholder) {
        QWidget *widget = nullptr;
        slot.requested = true;
        const bool ok = guarded(index, [&] { widget = slot.page->widget(stack); });
        if (ok && widget) {
            slot.widget = widget;
            stack->addWidget(widget);
        } else {
            // A page whose load failed may still hold a half-loaded widget;
            // it is neither shown nor applied, only released on close.
            QWidget *halfLoaded = nullptr;
            guarded(index, [&] { halfLoaded = slot.page->currentWidget(); });
            if (halfLoaded)
                halfLoaded->hide();
            auto *label = new QLabel(tr("This page could not be shown."), stack);
            label->setAlignment(Qt::AlignCenter);
            slot.placeholder = label;
            stack->addWidget(label);
        }
    }
    stack->setCurrentWidget(slot.widget ? slot.widget.data() : slot.placeholder.data());
    focusPage(stack->currentWidget());
}

void SettingsDialog::focusPage(QWidget *page)
{
    // A page's widget comes after the buttons in the focus chain, as it is
    // made later: its controls are moved behind the list (and the notice).
    // Qt leaves widgets that take no focus where they are.
    std::vector<QWidget *> controls;
    for (QWidget *w = page->nextInFocusChain(); page->isAncestorOf(w); w = w->nextInFocusChain()) {
        if (w->focusPolicy() != Qt::NoFocus)
            controls.push_back(w);
    }
    QWidget *previous = m_ui->label_readOnly;
    QWidget::setTabOrder(m_ui->listWidgetPages, previous);
    QWidget *first = nullptr;
    for (QWidget *w : controls) {
        QWidget::setTabOrder(previous, w);
        previous = w;
        if (!first && w->focusPolicy() & Qt::TabFocus && w->isEnabled() && w->isVisibleTo(this))
            first = w;
    }
    // A read-only page has no control to start on; its notice says why.
    if (!first && m_ui->label_readOnly->isVisibleTo(this))
        first = m_ui->label_readOnly;
    if (first)
        first->setFocus(Qt::TabFocusReason);
}

void SettingsDialog::setDeviceActive(bool active)
{
    m_deviceActive = active;
    m_ui->label_readOnly->setVisible(active);
    m_ui->buttonBox->button(QDialogButtonBox::Apply)->setEnabled(!active);
    m_ui->buttonBox->button(QDialogButtonBox::RestoreDefaults)->setEnabled(!active);
}

void SettingsDialog::on_listWidgetPages_currentRowChanged(int row)
{
    // Widgets are made when they are first seen, not when the dialog is.
    if (isVisible())
        showPage(row);
}

void SettingsDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    showPage(currentPage());
    fitToScreen();
}

// At a large scale factor the dialog's size in the form can exceed the
// screen, with its buttons out of reach.
void SettingsDialog::fitToScreen()
{
    const QScreen *display = screen();
    if (!display)
        return;
    const QRect available = display->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    resize(size().boundedTo(available.size() - frame).expandedTo(minimumSizeHint()));
    const QRect outer = frameGeometry();
    move(qBound(available.left(), outer.left(),
                qMax(available.left(), available.right() + 1 - outer.width())),
         qBound(available.top(), outer.top(),
                qMax(available.top(), available.bottom() + 1 - outer.height())));
}

bool SettingsDialog::applyAll()
{
    // Every page must agree before any of them writes.
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (!m_pages[i].widget)
            continue;
        bool valid = false;
        if (!guarded(int(i), [&] { valid = m_pages[i].page->validate(); }))
            return false;
        if (!valid) {
            m_ui->listWidgetPages->setCurrentRow(int(i));
            report(tr("The settings page “%1” holds values that cannot be applied.")
                           .arg(m_pages[i].title));
            return false;
        }
    }
    bool all = true;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (!m_pages[i].widget)
            continue;
        bool done = false;
        if (!guarded(int(i), [&] { done = m_pages[i].page->apply(); })) {
            all = false;
        } else if (!done) {
            all = false;
            report(tr("The settings page “%1” could not apply its settings.").arg(m_pages[i].title));
        }
    }
    emit storesWritten();
    return all;
}

void SettingsDialog::restoreCurrentDefaults()
{
    const int index = currentPage();
    if (index < 0 || m_deviceActive)
        return;
    guarded(index, [&] { m_pages[size_t(index)].page->restoreDefaults(); });
    emit storesWritten();
}

void SettingsDialog::on_buttonBox_clicked(QAbstractButton *button)
{
    switch (m_ui->buttonBox->standardButton(button)) {
    case QDialogButtonBox::Ok:
        accept();
        break;
    case QDialogButtonBox::Apply:
        applyAll();
        break;
    case QDialogButtonBox::Cancel:
        reject();
        break;
    case QDialogButtonBox::RestoreDefaults:
        askRestoreDefaults();
        break;
    default:
        break;
    }
}

// A page's reset writes the stores at once, so Cancel cannot undo it: a
// person is asked first. Batch runs, with message boxes off, are not.
void SettingsDialog::askRestoreDefaults()
{
    const int index = currentPage();
    if (index < 0)
        return;
    if (!m_messageBoxes) {
        restoreCurrentDefaults();
        return;
    }
    auto *box = new QMessageBox(
            QMessageBox::Question, tr("Restore Defaults"),
            tr("Restore the defaults of the page “%1”? Every setting on it goes back to its "
               "default and is saved at once; Cancel cannot bring the present values back.")
                    .arg(m_pages[size_t(index)].title),
            QMessageBox::RestoreDefaults | QMessageBox::Cancel, this);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this](int button) {
        if (button == QMessageBox::RestoreDefaults)
            restoreCurrentDefaults();
    });
    box->open();
}

void SettingsDialog::accept()
{
    // A page that failed to apply keeps the dialog open, so nothing the
    // user entered is lost silently.
    if (applyAll())
        QDialog::accept();
}

void SettingsDialog::reject()
{
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i].widget)
            guarded(int(i), [&] { m_pages[i].page->cancel(); });
    }
    QDialog::reject();
}

void SettingsDialog::done(int result)
{
    releaseWidgets();
    QDialog::done(result);
}

void SettingsDialog::reloadPages()
{
    releaseWidgets();
    if (isVisible())
        showPage(currentPage());
}

void SettingsDialog::releaseWidgets()
{
    QStackedWidget *stack = m_ui->stackedWidgetPages;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        PageSlot &slot = m_pages[i];
        if (slot.widget)
            stack->removeWidget(slot.widget);
        if (slot.requested)
            guarded(int(i), [&] { slot.page->releaseWidget(true); });
        delete slot.placeholder;
        slot.widget = nullptr;
        slot.requested = false;
    }
}

void SettingsDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        for (size_t i = 0; i < m_pages.size(); ++i) {
            if (m_pages[i].widget)
                guarded(int(i), [&] { m_pages[i].page->retranslate(); });
        }
        refreshTitles();
    }
    QDialog::changeEvent(event);
}
