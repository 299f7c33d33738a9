#include "QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

void QtMessageBox::ShowError(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
    box.exec();
}

bool QtConfirmBox::AskYesNo(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton);
    const QAbstractButton* yes = box.addButton(QCoreApplication::translate("QtConfirmBox", "はい(&Y)"), QMessageBox::YesRole);
    box.setEscapeButton(box.addButton(QCoreApplication::translate("QtConfirmBox", "いいえ(&N)"), QMessageBox::NoRole));
    box.exec();
    return box.clickedButton() == yes;
}

namespace {

// "*.csv" gives "csv"; a pattern without one plain extension gives nothing.
QString ExtensionOf(const QString& nameFilter)
{
    const qsizetype open = nameFilter.lastIndexOf(QStringLiteral("(*."));
    const qsizetype close = nameFilter.indexOf(QLatin1Char(')'), open);
    if (open < 0 || close < 0)
        return {};
    const QString extension = nameFilter.mid(open + 3, close - open - 3);
    return extension.contains(QLatin1Char(' ')) || extension.contains(QLatin1Char('*')) ? QString() : extension;
}

QString ChoosePath(QFileDialog::AcceptMode mode, const QString& filter, const QString& initialName)
{
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(QtNameFilters(filter));
    // A name typed without an extension takes the type chosen in the dialog.
    if (mode == QFileDialog::AcceptSave) {
        dialog.setDefaultSuffix(ExtensionOf(dialog.nameFilters().value(0)));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& chosen) { dialog.setDefaultSuffix(ExtensionOf(chosen)); });
    }
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace

QString QtFileDialogs::ChooseSavePath(const QString& filter, const QString& initialName)
{
    return ChoosePath(QFileDialog::AcceptSave, filter, initialName);
}

QString QtFileDialogs::ChooseOpenPath(const QString& filter, const QString& initialName)
{
    return ChoosePath(QFileDialog::AcceptOpen, filter, initialName);
}

QStringList QtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        const QString shown = QLatin1Char('(') + pattern + QLatin1Char(')');
        filters << (description.contains(shown) ? description : description + QLatin1Char(' ') + shown);
    }
    return filters;
}

QString QtBoardChooser::ChooseBoard(const std::vector<FtdiDevice>& devices, const QString& current)
{
    QStringList items;
    int shown = 0;
    for (const FtdiDevice& device : devices) {
        if (device.Serial == current)
            shown = static_cast<int>(items.size());
        items << QStringLiteral("%1  %2").arg(device.Serial, device.Description);
    }
    bool chosen = false;
    const QString item = QInputDialog::getItem(
        QApplication::activeWindow(), QCoreApplication::translate("QtBoardChooser", "ボード選択"),
        QCoreApplication::translate("QtBoardChooser", "使用するボードを選んでください:"), items, shown, false, &chosen);
    if (!chosen)
        return {};
    const qsizetype index = items.indexOf(item);
    return index < 0 ? QString() : devices[static_cast<std::size_t>(index)].Serial;
}
