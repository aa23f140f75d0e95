// The kinds of file read and written here, known by their suffixes: the one
// table that opening, saving, the exports and the command line ask.
#pragma once

#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>

namespace tq::documents {

// Read-only formats come after Word; recovery copies store the number.
enum class FileFormat { PlainText, Markdown, Html, OpenDocument, Word, FlatOpenDocument, Rtf };

// What is done with a kind of file.
enum class FileUse {
    Open = 0x1,                // read as its format (a name no kind opens is read as plain text)
    Save = 0x2,                // written by Save As (any other name is written as plain text)
    NeverWrite = 0x4,          // refused as a name to save to
    ExportHighlighted = 0x8,   // the document with the analysis's marks
    ExportCsv = 0x10,          // the word list or the phrases as CSV
    ExportLines = 0x20,        // the same as the lines the list shows (any name but CSV)
};
Q_DECLARE_FLAGS(FileUses, FileUse)
Q_DECLARE_OPERATORS_FOR_FLAGS(FileUses)

struct FileKind
{
    FileFormat format;       // how a file of this kind is read and written
    QString name;            // as a file dialog names it: "OpenDocument text"
    QStringList suffixes;    // lower case; a name typed without one gets the first
    FileUses uses;
    // What Save would lose by writing over such a file ("notes and
    // comments"); empty when it may.
    QString lostBySaving = {};

    QString filter() const;   // "HTML (*.html *.htm)"
};

// The path's suffix, lower case.
QString suffixOf(const QString &path);
// The kind for the path's suffix that has use; null when none has.
const FileKind *kindFor(const QString &path, FileUse use);
// The kinds with any of uses, in the table's order.
QList<FileKind> kindsFor(FileUses uses);
// The kind a format is opened as.
const FileKind &kindOf(FileFormat format);

// Whether Save may write the document back to the file it came from. Not for
// .html, .odt or .docx: the file holds more than was read (pictures, style
// sheets, notes, layout), which a copy would lose.
bool savesInPlace(FileFormat format);

// By suffix, for Save As: .md/.markdown, .odt, .html/.htm; anything else
// (the read-only formats included) is plain text.
FileFormat formatForSaving(const QString &path);

// By suffix, for opening: as formatForSaving, plus the read-only formats
// (.docx, .fodt, .rtf).
FileFormat formatForReading(const QString &path);

// Every suffix formatForReading knows, lower case, for the Open dialog's
// filter and the command line's help.
QStringList readableSuffixes();

} // namespace tq::documents
