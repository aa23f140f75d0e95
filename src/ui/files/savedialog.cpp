#include "savedialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>

namespace tq::ui {

namespace {

SaveChoice ask(QWidget *parent, const QString &title, const QString &start, const QList<FileType> &types,
               const FileType &selected, const QStringList &encodings, int selectedEncoding,
               bool confirmOverwrite)
{
    QFileDialog dialog(parent, title, start);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    QStringList filters;
    for (const FileType &type : types)
        filters.append(type.filter);
    QComboBox *encoding = nullptr;
    if (!encodings.isEmpty()) {
        // The desktop's own dialog has no room for a control of ours.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout())) {
            encoding = new QComboBox(&dialog);
            encoding->addItems(encodings);
            encoding->setCurrentIndex(selectedEncoding);
            auto *label = new QLabel(QStringLiteral("&Encoding:"), &dialog);
            label->setBuddy(encoding);
            const int row = grid->rowCount();
            grid->addWidget(label, row, 0);
            grid->addWidget(encoding, row, 1);
            encoding->setEnabled(selected.takesEncoding);
        }
    }
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(selected.filter);
    dialog.setDefaultSuffix(selected.suffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
        for (const FileType &type : types) {
            if (type.filter != filter)
                continue;
            dialog.setDefaultSuffix(type.suffix);
            if (encoding)
                encoding->setEnabled(type.takesEncoding);
        }
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(), encoding ? encoding->currentIndex() : selectedEncoding};
}

} // namespace

QString askSaveName(QWidget *parent, const QString &title, const QString &start,
                    const QList<FileType> &types, const FileType &selected)
{
    return ask(parent, title, start, types, selected, {}, 0, true).path;
}

SaveChoice askSaveNameAndEncoding(QWidget *parent, const QString &title, const QString &start,
                                  const QList<FileType> &types, const FileType &selected,
                                  const QStringList &encodings, int selectedEncoding)
{
    return ask(parent, title, start, types, selected, encodings, selectedEncoding, false);
}

} // namespace tq::ui
