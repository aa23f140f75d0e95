// Paragraphs are told they run left to right only while the document holds
// no right-to-left letter, however the letter comes or the document changes;
// a direction set by the document's maker is left alone.
#include "documentarea.h"
#include "textdirectionhint.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using tq::ui::DocumentArea;
using tq::ui::TextDirectionHint;

class TestTextDirectionHint : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rightToLeft_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("rightToLeft");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("English, digits, marks") << QStringLiteral("Tide 12, \"tide\" - ok!") << false;
        QTest::newRow("accented Latin, Greek") << QStringLiteral("élan αβγ") << false;
        QTest::newRow("Hebrew") << QStringLiteral("word שלום") << true;
        QTest::newRow("Arabic") << QStringLiteral("سلام") << true;
        QTest::newRow("beyond the first plane") << QString::fromUcs4(U"a\U00010800") << true;
        QTest::newRow("lone surrogate") << QString(QChar(0xd802)) << false;
    }
    void rightToLeft()
    {
        QFETCH(QString, text);
        QFETCH(bool, rightToLeft);
        QCOMPARE(TextDirectionHint::hasRightToLeft(text), rightToLeft);
    }

    void hintFollowsTheText_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("hinted");
        QTest::newRow("prose") << "prose" << true;
        QTest::newRow("Hebrew typed in the middle") << "type" << false;
        QTest::newRow("Hebrew typed, then removed") << "type remove" << false;
        QTest::newRow("Hebrew typed, then all cleared") << "type clear" << true;
        QTest::newRow("Hebrew opened") << "open" << false;
        QTest::newRow("Hebrew typed, then prose opened") << "type open prose" << true;
        QTest::newRow("opened with a direction of its own") << "open own" << false;
    }
    void hintFollowsTheText()
    {
        QFETCH(QString, change);
        QFETCH(bool, hinted);
        DocumentArea area;
        QString prose;
        for (int i = 0; i < 50; ++i)
            prose += QStringLiteral("A line of prose, number %1.\n").arg(i);
        area.setPlainText(prose);
        const QString hebrew = QStringLiteral("שלום");
        if (change.startsWith(u"type")) {
            QTextCursor at(area.document());
            at.setPosition(300);
            at.insertText(hebrew);
            if (change == u"type remove") {
                // Sticks until the document is emptied: finding out that the
                // last one went would take a look over the whole text.
                at.setPosition(300);
                at.setPosition(300 + int(hebrew.size()), QTextCursor::KeepAnchor);
                at.removeSelectedText();
            } else if (change == u"type clear") {
                area.clear();
                area.insertPlainText(prose);
            } else if (change == u"type open prose") {
                area.replaceDocument(std::make_unique<QTextDocument>(prose));
            }
        } else if (change == u"open") {
            area.replaceDocument(std::make_unique<QTextDocument>(prose + hebrew));
        } else if (change == u"open own") {
            auto own = std::make_unique<QTextDocument>(prose);
            QTextOption option = own->defaultTextOption();
            option.setTextDirection(Qt::RightToLeft);
            own->setDefaultTextOption(option);
            area.replaceDocument(std::move(own));
            // replaceDocument hands the old options on; a maker's own
            // direction is set on the document afterwards.
            option = area.document()->defaultTextOption();
            option.setTextDirection(Qt::RightToLeft);
            area.document()->setDefaultTextOption(option);
            area.replaceDocument(std::make_unique<QTextDocument>(prose));
        }
        auto *hint = area.findChild<TextDirectionHint *>();
        QCOMPARE(hint->leftToRight(), hinted);
        const Qt::LayoutDirection expected =
            hinted ? Qt::LeftToRight : (change == u"open own" ? Qt::RightToLeft : Qt::LayoutDirectionAuto);
        QCOMPARE(area.document()->defaultTextOption().textDirection(), expected);
    }
};

QTEST_MAIN(TestTextDirectionHint)
#include "tst_textdirectionhint.moc"
