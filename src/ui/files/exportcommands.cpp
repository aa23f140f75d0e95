#include "exportcommands.h"

#include "documentarea.h"
#include "exports.h"
#include "fileformats.h"
#include "programname.h"
#include "savedialog.h"
#include "slicedbolding.h"
#include "widgetsurface.h"
#include "wordlistbox.h"

#include <QAction>
#include <QFileInfo>
#include <QMessageBox>

namespace tq::ui {

namespace {

using documents::FileUse;

// The kinds with the uses, as the dialog offers them; the first is chosen.
QList<FileType> typesFor(documents::FileUses uses)
{
    QList<FileType> types;
    for (const documents::FileKind &kind : documents::kindsFor(uses))
        types.append({kind.filter(), kind.suffixes.constFirst()});
    return types;
}

QString startFor(const RecentFiles &recent, const QString &name)
{
    return recent.lastFolder() + u'/' + name;
}

} // namespace

ExportCommands::ExportCommands(QWidget *window, DocumentArea *area, const WidgetSurface &surface,
                               SlicedBolding &bolding, const WordListBox &list)
    : QObject(window)
    , m_window(window)
    , m_area(area)
    , m_surface(surface)
    , m_bolding(bolding)
    , m_list(list)
{
    auto add = [this](const QString &text, void (ExportCommands::*slot)()) {
        auto *action = new QAction(text, this);
        connect(action, &QAction::triggered, this, slot);
        m_actions.append(action);
    };
    add(QStringLiteral("Export &Word List..."), &ExportCommands::askWordList);
    add(QStringLiteral("Export &Highlighted Document..."), &ExportCommands::askHighlighted);
}

void ExportCommands::askWordList()
{
    if (m_list.count() == 0) {
        QMessageBox::information(m_window, programName(),
                                 QStringLiteral("The word list is empty. Press Analyze first."));
        return;
    }
    const QList<FileType> types = typesFor(FileUse::ExportCsv | FileUse::ExportLines);
    const QString path = askSaveName(m_window, QStringLiteral("Export Word List"),
                                      startFor(m_recent, QStringLiteral("words.csv")), types,
                                      types.constFirst());
    if (!path.isEmpty())
        exportWordList(path);
}

void ExportCommands::askHighlighted()
{
    const QList<FileType> types = typesFor(FileUse::ExportHighlighted);
    const QString path = askSaveName(m_window, QStringLiteral("Export Highlighted Document"),
                                      startFor(m_recent, QStringLiteral("highlighted.html")), types,
                                      types.constFirst());
    if (!path.isEmpty())
        exportHighlighted(path);
}

bool ExportCommands::exportWordList(const QString &path)
{
    return finished(path, documents::exportWordList(path, m_list.entries()));
}

bool ExportCommands::exportHighlighted(const QString &path)
{
    m_bolding.finish();
    const qsizetype n = m_surface.colours().size();
    QByteArray bold(n, 0);
    for (qsizetype i = 0; i < n; ++i)
        bold[i] = m_surface.boldAt(i) ? 1 : 0;
    return finished(path, documents::exportHighlighted(path, *m_area->document(),
                                                        m_surface.colours(), bold));
}

bool ExportCommands::finished(const QString &path, const QString &error)
{
    if (!error.isEmpty()) {
        QMessageBox::warning(m_window, programName(), error);
        return false;
    }
    m_recent.setLastFolder(QFileInfo(path).absolutePath());
    return true;
}

} // namespace tq::ui
