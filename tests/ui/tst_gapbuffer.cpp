// Colour and bold stay on their characters through any sequence of edits:
// the per-character store is checked against a plain list given the same
// edits, and the window's surface against the same model after edits typed
// into the document.
#include "documentarea.h"
#include "gapbuffer.h"
#include "widgetsurface.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using tq::ui::GapBuffer;

namespace {

struct Edit
{
    qsizetype at;
    qsizetype removed;
    qsizetype added;
};

Edit randomEdit(QRandomGenerator &random, qsizetype size)
{
    const qsizetype at = random.bounded(int(size + 1));
    // Mostly keystrokes, now and then a paste or a cut far larger than the
    // room left after the last edit.
    const bool large = random.bounded(10) == 0;
    const qsizetype removed = random.bounded(int(std::min<qsizetype>(size - at, large ? 6000 : 3) + 1));
    const qsizetype added = random.bounded(large ? 9000 : 3);
    return Edit{at, removed, added};
}

} // namespace

class TestGapBuffer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsPlainList_data();
    void followsPlainList();
    void surfaceKeepsColourOnItsCharacters_data();
    void surfaceKeepsColourOnItsCharacters();
};

void TestGapBuffer::followsPlainList_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("startSize");
    QTest::newRow("empty start") << 1u << 0;
    QTest::newRow("short") << 2u << 17;
    QTest::newRow("long") << 3u << 20000;
    QTest::newRow("long, other edits") << 4u << 20000;
}

void TestGapBuffer::followsPlainList()
{
    QFETCH(quint32, seed);
    QFETCH(int, startSize);
    QRandomGenerator random(seed);
    QList<int> plain(startSize);
    for (int &v : plain)
        v = int(random.bounded(1000));
    GapBuffer<int> buffer(startSize);
    for (qsizetype i = 0; i < plain.size(); ++i)
        buffer.set(i, plain[i]);

    for (int step = 0; step < 400; ++step) {
        const Edit edit = randomEdit(random, plain.size());
        const int value = step + 1000;
        plain.remove(edit.at, edit.removed);
        plain.insert(edit.at, edit.added, value);
        buffer.replace(edit.at, edit.removed, edit.added, value);
        // Values written after the edit land where a reader finds them.
        if (!plain.isEmpty()) {
            const qsizetype i = random.bounded(int(plain.size()));
            plain[i] = -step;
            buffer.set(i, -step);
        }
        // A range given one value, across the gap or not, reports just the
        // span that changed.
        const qsizetype from = random.bounded(int(plain.size() + 1));
        const qsizetype to = from + random.bounded(int(plain.size() - from + 1));
        const int filler = int(random.bounded(2));
        qsizetype first = to, last = from;
        for (qsizetype i = from; i < to; ++i) {
            if (plain[i] != filler) {
                plain[i] = filler;
                first = std::min(first, i);
                last = i + 1;
            }
        }
        QCOMPARE(buffer.assign(from, to, filler), std::make_pair(first, last));
        QCOMPARE(buffer.size(), plain.size());
        if (step % 50 == 0)
            QCOMPARE(buffer.values(), plain);   // closes the gap mid-way
    }
    for (qsizetype i = 0; i < plain.size(); ++i)
        QCOMPARE(buffer.at(i), plain[i]);
    buffer.resize(plain.size() / 2);
    plain.resize(plain.size() / 2);
    QCOMPARE(buffer.values(), plain);
}

void TestGapBuffer::surfaceKeepsColourOnItsCharacters_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("1") << 11u;
    QTest::newRow("2") << 12u;
}

// Every character is coloured with its own number first; an edit keeps the
// colour of every character that stays and gives the new ones none.
void TestGapBuffer::surfaceKeepsColourOnItsCharacters()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    tq::ui::DocumentArea area;
    QString text;
    for (int line = 0; line < 300; ++line)
        text += QStringLiteral("Line %1 of the book, with words on it.\n").arg(line);
    area.setPlainText(text);
    tq::ui::WidgetSurface surface(&area);
    const qsizetype size = surface.text().size();
    QList<tq::Colour> model(size);
    for (qsizetype i = 0; i < size; ++i) {
        model[i] = tq::Colour(i + 1);
        surface.select(i, 1);
        surface.setSelColor(model[i]);
        surface.setSelBold(i % 3 == 0);
    }
    QList<bool> boldModel;
    for (qsizetype i = 0; i < size; ++i)
        boldModel.append(i % 3 == 0);

    for (int step = 0; step < 150; ++step) {
        const qsizetype length = surface.text().size();
        const Edit edit = randomEdit(random, length);
        QTextCursor cursor(area.document());
        cursor.setPosition(int(edit.at));
        cursor.setPosition(int(edit.at + edit.removed), QTextCursor::KeepAnchor);
        QString added(edit.added, u'q');
        if (edit.added > 2)
            added[1] = u'\n';
        cursor.insertText(added);
        model.remove(edit.at, edit.removed);
        model.insert(edit.at, edit.added, 0);
        boldModel.remove(edit.at, edit.removed);
        boldModel.insert(edit.at, edit.added, false);
        QCOMPARE(surface.text().size(), model.size());
    }
    QCOMPARE(surface.colours(), model);
    for (qsizetype i = 0; i < model.size(); ++i)
        QCOMPARE(surface.boldAt(i), boldModel[i]);
}

QTEST_MAIN(TestGapBuffer)
#include "tst_gapbuffer.moc"
