#include "documentfile.h"

#include "chapters.h"
#include "documentarea.h"
#include "fileformats.h"
#include "programname.h"
#include "savedialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QPushButton>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTextDocument>
#include <QTimer>

namespace tq::ui {

using documents::FileFormat;
using documents::Manuscript;

namespace {

bool keepsPlainForm(FileFormat format)
{
    return format == FileFormat::PlainText || format == FileFormat::Markdown;
}

// What Save As offers, by the format it writes; for a read-only format,
// its nearest kin, OpenDocument.
FileType saveType(FileFormat format)
{
    const documents::FileKind *kind = &documents::kindOf(format);
    if (!kind->uses.testFlag(documents::FileUse::Save))
        kind = &documents::kindOf(FileFormat::OpenDocument);
    return {kind->filter(), kind->suffixes.constFirst(), keepsPlainForm(kind->format)};
}

QString encodingName(const documents::PlainTextForm &form)
{
    QString name = QString::fromLatin1(form.encoding);
    if (form.bom)
        name += QStringLiteral(" with BOM");
    return name;
}

bool samePath(const QString &a, const QString &b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// The recovery copy names the file the text belongs to and how it is written.
QVariantMap describe(const Manuscript &file)
{
    return {{QStringLiteral("path"), file.path},
            {QStringLiteral("format"), int(file.format)},
            {QStringLiteral("encoding"), file.plainForm.encoding},
            {QStringLiteral("bom"), file.plainForm.bom},
            {QStringLiteral("lineEnding"), int(file.plainForm.lineEnding)},
            {QStringLiteral("unreadableBytes"), file.unreadableBytes},
            {QStringLiteral("droppedSoftHyphens"), file.droppedSoftHyphens}};
}

std::optional<Manuscript> described(const QVariantMap &source)
{
    const QString path = source.value(QStringLiteral("path")).toString();
    if (path.isEmpty())
        return std::nullopt;
    Manuscript file;
    file.path = path;
    file.format = FileFormat(std::clamp(source.value(QStringLiteral("format")).toInt(),
                                        int(FileFormat::PlainText), int(FileFormat::Rtf)));
    file.plainForm.encoding = source.value(QStringLiteral("encoding"), file.plainForm.encoding).toByteArray();
    file.plainForm.bom = source.value(QStringLiteral("bom")).toBool();
    file.plainForm.lineEnding = documents::LineEnding(
        std::clamp(source.value(QStringLiteral("lineEnding")).toInt(), int(documents::LineEnding::Lf),
                   int(documents::LineEnding::Cr)));
    file.unreadableBytes = source.value(QStringLiteral("unreadableBytes")).toLongLong();
    file.droppedSoftHyphens = source.value(QStringLiteral("droppedSoftHyphens")).toLongLong();
    return file;
}

} // namespace

bool asksBeforeReplacing(bool fromFile, bool modified, const QString &text, const QString &startText)
{
    // Text the writer never changed (the start, or a file as it was read)
    // is not theirs to lose.
    if (!modified)
        return false;
    return fromFile || (!text.isEmpty() && text != startText);
}

DocumentFile::DocumentFile(QWidget *window, DocumentArea *area)
    : QObject(window)
    , m_window(window)
    , m_area(area)
    , m_recentMenu(new QMenu(window))
    , m_startText(documents::documentText(*area->document()))
{
    addAction(QStringLiteral("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O), &DocumentFile::open);
    QAction *recent = new QAction(QStringLiteral("Open R&ecent"), this);
    recent->setMenu(m_recentMenu);
    m_actions.append(recent);
    connect(m_recentMenu, &QMenu::aboutToShow, this, &DocumentFile::fillRecentMenu);
    addAction(QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), &DocumentFile::saveFromMenu);
    addAction(QStringLiteral("Save &As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
              &DocumentFile::saveAsFromMenu);

    followDocument();
    connect(m_area, &DocumentArea::documentReplaced, this, &DocumentFile::followDocument);

    // A file dropped anywhere on the window opens; dropped text still goes
    // into the document as text.
    m_window->setAcceptDrops(true);
    m_window->installEventFilter(this);
    m_area->viewport()->installEventFilter(this);
}

DocumentFile::~DocumentFile() = default;

QTextDocument *DocumentFile::document() const
{
    return m_area->document();
}

void DocumentFile::followDocument()
{
    connect(document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
        showCaption();
        if (!modified && m_recovery)
            m_recovery->discard();
    });
    // Per edit only a timer is restarted.
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (m_recovery && document()->isModified())
            m_recovery->edited();
    });
}

QList<QAction *> DocumentFile::actions() const
{
    return m_actions;
}

QAction *DocumentFile::addAction(const QString &text, const QKeySequence &shortcut,
                                 void (DocumentFile::*slot)())
{
    auto *action = new QAction(text, this);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, slot);
    m_actions.append(action);
    return action;
}

void DocumentFile::open()
{
    const QString path = QFileDialog::getOpenFileName(
        m_window, QStringLiteral("Open"), m_recent.lastFolder(),
        QStringLiteral("Manuscripts (*.%1);;All files (*)")
            .arg(documents::readableSuffixes().join(QStringLiteral(" *."))));
    if (!path.isEmpty())
        openFile(path);
}

void DocumentFile::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = m_recent.existing();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QFileInfo info(files[i]);
        // "&1" to "&9", then "1&0": each entry has its own key.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction *entry = m_recentMenu->addAction(
            QStringLiteral("%1 %2  (%3)")
                .arg(number, info.fileName().replace(u'&', QStringLiteral("&&")),
                     QDir::toNativeSeparators(info.absolutePath()).replace(u'&', QStringLiteral("&&"))));
        const QString path = files[i];
        connect(entry, &QAction::triggered, this, [this, path] { openFile(path); });
    }
    if (files.isEmpty())
        m_recentMenu->addAction(QStringLiteral("No recent files"))->setEnabled(false);
}

bool DocumentFile::openFile(const QString &path)
{
    // Read in full first: a file that cannot be read changes nothing.
    documents::ReadResult read = documents::readManuscript(path);
    if (!read.document) {
        QMessageBox::warning(m_window, programName(), read.error);
        return false;
    }
    if (!mayReplace())
        return false;
    replaceContent(std::move(read.document), false);
    m_file = read.source;
    m_writtenHere = false;
    m_recent.add(m_file->path);
    showCaption();
    if (!read.note.isEmpty())
        Q_EMIT note(read.note);
    return true;
}

// The document area takes the new document as it is; the analysis's surface
// and this file follow it.
void DocumentFile::replaceContent(std::unique_ptr<QTextDocument> content, bool modified)
{
    Q_EMIT replacingDocument();
    m_area->replaceDocument(std::move(content));
    document()->setModified(modified);
}

bool DocumentFile::save()
{
    if (!m_file || !(documents::whyNotSavedInPlace(*m_file).isEmpty() || m_writtenHere))
        return saveAs();
    return write(*m_file);
}

bool DocumentFile::saveAs()
{
    const FileFormat current = m_file ? m_file->format : FileFormat::PlainText;
    const FileType suggested = saveType(current);
    QString start = m_recent.lastFolder();
    if (m_file) {
        const QFileInfo info(m_file->path);
        start = info.absolutePath() + u'/' + info.completeBaseName() + u'.' + suggested.suffix;
    }
    QList<FileType> types;
    for (FileFormat format : {FileFormat::PlainText, FileFormat::Markdown, FileFormat::OpenDocument,
                              FileFormat::Html})
        types.append(saveType(format));
    // A file in a legacy encoding may be copied in it or in UTF-8.
    QList<documents::PlainTextForm> forms;
    QStringList names;
    if (m_file && keepsPlainForm(m_file->format)) {
        forms = documents::savingForms(*document(), m_file->plainForm);
        if (forms.constFirst().encoding != m_file->plainForm.encoding) {
            for (const documents::PlainTextForm &form : std::as_const(forms))
                names.append(encodingName(form));
        }
    }
    // The file's own encoding while it holds the text, else UTF-8.
    const SaveChoice choice = askSaveNameAndEncoding(m_window, QStringLiteral("Save As"), start, types,
                                                     suggested, names, int(names.size()) - 1);
    if (choice.path.isEmpty())
        return false;
    // A name that is refused anyway is refused before asking about replacing.
    if (const QString why = refusal(choice.path); !why.isEmpty()) {
        QMessageBox::warning(m_window, programName(), why);
        return false;
    }
    if (QFileInfo::exists(choice.path)
        && QMessageBox::question(m_window, QStringLiteral("Save As"),
                                 QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                     .arg(QFileInfo(choice.path).fileName()))
               != QMessageBox::Yes)
        return false;
    return names.isEmpty() ? saveTo(choice.path) : saveTo(choice.path, forms.value(choice.encoding));
}

// Why the document may not be written to path; empty when it may.
QString DocumentFile::refusal(const QString &path) const
{
    if (const documents::FileKind *kind = documents::kindFor(path, documents::FileUse::NeverWrite)) {
        return QStringLiteral("%1 documents are never written here: save \"%2\" as "
                              "OpenDocument text (.odt) instead, which Word opens too.")
            .arg(kind->name, QFileInfo(path).fileName());
    }
    // A web page, an .odt or a .docx holds more than was read (pictures,
    // notes, comments, layout), a text file may hold bytes that could not be
    // read: writing over it would lose all that.
    const QString loss = m_file && !m_writtenHere ? documents::whyNotSavedInPlace(*m_file) : QString();
    if (!loss.isEmpty() && samePath(path, m_file->path)) {
        return QStringLiteral("Saving over \"%1\" would %2. Choose another name.")
            .arg(QFileInfo(path).fileName(), loss);
    }
    return {};
}

bool DocumentFile::saveTo(const QString &path, const std::optional<documents::PlainTextForm> &form)
{
    if (const QString why = refusal(path); !why.isEmpty()) {
        QMessageBox::warning(m_window, programName(), why);
        return false;
    }
    Manuscript target;
    target.path = path;
    target.format = documents::formatForSaving(path);
    if (keepsPlainForm(target.format) && form)
        target.plainForm = *form;
    else if (m_file && keepsPlainForm(m_file->format) && keepsPlainForm(target.format))
        target.plainForm = m_file->plainForm;
    return write(target);
}

bool DocumentFile::write(const Manuscript &target)
{
    QString error = documents::writeManuscript(*document(), target);
    if (!error.isEmpty()) {
        // The way out of an encoding too narrow for the text.
        if (keepsPlainForm(target.format)
            && documents::savingForms(*document(), target.plainForm).size() == 1
            && target.plainForm.encoding.toUpper() != "UTF-8")
            error += QStringLiteral(" Save it as UTF-8 with Save As.");
        QMessageBox::warning(m_window, programName(), error);
        return false;
    }
    m_file = target;
    m_writtenHere = true;
    m_recent.add(target.path);
    document()->setModified(false);
    showCaption();
    return true;
}

bool DocumentFile::maySetAside()
{
    if (!m_file || !document()->isModified())
        return true;
    return askToSave(QStringLiteral("Save the changes to \"%1\"?").arg(QFileInfo(m_file->path).fileName()),
                     true);
}

bool DocumentFile::mayReplace()
{
    // The whole text is looked at only for the untitled window's edits, once
    // per open.
    const bool modified = document()->isModified();
    const QString text = !m_file && modified ? documents::documentText(*document()) : QString();
    if (!asksBeforeReplacing(m_file.has_value(), modified, text, m_startText))
        return true;
    if (m_file)
        return maySetAside();
    return askToSave(QStringLiteral("Save the text typed into the window?"), false);
}

bool DocumentFile::askToSave(const QString &question, bool named)
{
    QMessageBox box(QMessageBox::Warning, programName(), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_window);
    box.setInformativeText(named ? QStringLiteral("Your changes are lost if you do not save them.")
                                 : QStringLiteral("The text is lost if you do not save it."));
    if (!named)
        box.button(QMessageBox::Save)->setText(QStringLiteral("Save As..."));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void DocumentFile::closing()
{
    if (m_recovery)
        m_recovery->discard();
}

void DocumentFile::endSession()
{
    if (m_recovery) {
        if (document()->isModified())
            m_recovery->writeNow();
        else
            m_recovery->discard();
    }
    // exit(), not quit(): quit() would close the window, which asks about
    // unsaved edits and removes the copy just written. The copy's lock goes
    // with the process.
    QCoreApplication::exit(0);
}

void DocumentFile::showCaption()
{
    if (!m_file) {
        m_window->setWindowTitle(programName());
        m_window->setWindowModified(false);
        return;
    }
    // "[*]" in a file's own name would be taken for the modified mark.
    QString name = QFileInfo(m_file->path).fileName();
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    m_window->setWindowTitle(name + QStringLiteral("[*] - ") + programName());
    m_window->setWindowModified(document()->isModified());
}

void DocumentFile::startSession(const QString &path)
{
    if (!path.isEmpty())
        openFile(path);
    startRecovery(Recovery::defaultFolder());
}

void DocumentFile::startRecovery(const QString &folder)
{
    m_recovery = std::make_unique<Recovery>(folder, [this] { return recoverySnapshot(); });
    offerRecovery();
    if (document()->isModified())
        m_recovery->edited();
}

void DocumentFile::offerRecovery()
{
    const std::optional<RecoveredText> left = m_recovery->adoptLeftBehind();
    if (!left)
        return;
    const std::optional<Manuscript> file = described(left->source);
    QMessageBox box(QMessageBox::Question, programName(),
                    QStringLiteral("Restore the unsaved text from the last session?"),
                    QMessageBox::Yes | QMessageBox::Discard | QMessageBox::Cancel, m_window);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Restore"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Not Now"));
    QString where = QStringLiteral("Not Now keeps it for the next start.");
    if (file)
        where.prepend(QStringLiteral("It belongs to \"%1\". ").arg(QDir::toNativeSeparators(file->path)));
    box.setInformativeText(where);
    box.setDefaultButton(QMessageBox::Yes);
    // Escape or closing the question keeps the text: only Discard removes it.
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes && mayReplace())
        restore(*left);
    else if (answer == QMessageBox::Discard)
        m_recovery->discard();
    else
        m_recovery->release();
}

void DocumentFile::restore(const RecoveredText &text)
{
    // Still unsaved, and still kept in the adopted recovery file.
    auto content = std::make_unique<QTextDocument>();
    if (text.rich)
        content->setHtml(text.content);
    else
        content->setPlainText(text.content);
    replaceContent(std::move(content), true);
    m_file = described(text.source);
    m_writtenHere = text.source.value(QStringLiteral("writtenHere")).toBool();
    showCaption();
}

RecoveredText DocumentFile::recoverySnapshot() const
{
    RecoveredText text;
    if (m_file) {
        text.source = describe(*m_file);
        text.source.insert(QStringLiteral("writtenHere"), m_writtenHere);
    }
    // Formatted documents keep their italics and bold as HTML; plain ones
    // keep their exact characters (no-break spaces included).
    text.rich = m_file && !keepsPlainForm(m_file->format);
    text.content = text.rich ? documents::htmlWithoutHeadings(*document()) : document()->toRawText();
    return text;
}

// The first local file among dropped data; empty when text or a web link
// was dropped.
QString DocumentFile::droppedFile(const QEvent *event) const
{
    const QMimeData *data = static_cast<const QDropEvent *>(event)->mimeData();
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return QString();
}

bool DocumentFile::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (!droppedFile(event).isEmpty()) {
            static_cast<QDropEvent *>(event)->acceptProposedAction();
            return true;
        }
        break;
    case QEvent::Drop:
        if (const QString path = droppedFile(event); !path.isEmpty()) {
            static_cast<QDropEvent *>(event)->acceptProposedAction();
            // Opened once the drop is over: the question about unsaved
            // edits must not hold up the program the file came from.
            QTimer::singleShot(0, this, [this, path] { openFile(path); });
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tq::ui
