#include "savedialog.h"

#include <QFileDialog>

namespace tq::ui {

QString askSaveName(QWidget *parent, const QString &title, const QString &start,
                    const QList<FileType> &types, const FileType &selected)
{
    QFileDialog dialog(parent, title, start);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const FileType &type : types)
        filters.append(type.filter);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(selected.filter);
    dialog.setDefaultSuffix(selected.suffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
        for (const FileType &type : types) {
            if (type.filter == filter)
                dialog.setDefaultSuffix(type.suffix);
        }
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

} // namespace tq::ui
