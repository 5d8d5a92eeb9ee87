// The yardstick for the studio's start: the least a Qt Widgets program does
// to show one dialog on the offscreen platform and quit, as the studio does
// with --settings --dump (show, process the pending events, close).
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Device"), &dialog));
    dialog.show();
    QCoreApplication::processEvents();
    dialog.done(QDialog::Accepted);
    return 0;
}
