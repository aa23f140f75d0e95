// The document area's context menu: the editor's own entries first, then each
// section of commands in the order added, opened by mouse or keyboard, with
// the commands' shortcuts working anywhere in the window.
#include "testlocale.h"

#include "documentmenu.h"
#include "windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>

#include <algorithm>
#include <memory>

using namespace tq::testing;
using tq::ui::MainWindow;

namespace {

// Entry texts, shortcuts' tabs cut off; a section shows as "[title]", a
// separator as "-", a submenu's entries follow its own entry as "> text".
QStringList entries(const QMenu &menu)
{
    QStringList out;
    for (const QAction *a : menu.actions()) {
        if (a->isSeparator())
            out.append(a->text().isEmpty() ? QStringLiteral("-") : u'[' + a->text() + u']');
        else
            out.append(a->text().section(u'\t', 0, 0));
    }
    return out;
}

QMenu *openPopup()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

void closePopups()
{
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
}

} // namespace

class DocumentMenuTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> m_form;
    QAction *m_open = nullptr;
    QAction *m_save = nullptr;
    QAction *m_find = nullptr;

private Q_SLOTS:
    void init()
    {
        m_form = shownForm(QStringLiteral("one two three"));
        m_open = new QAction(QStringLiteral("Open..."), m_form.get());
        m_open->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+Y")));
        m_save = new QAction(QStringLiteral("Save"), m_form.get());
        m_save->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+U")));
        m_find = new QAction(QStringLiteral("Step"), m_form.get());
        m_find->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+Shift+Y")));
        WindowProbe::documentMenu(*m_form).addSection(QStringLiteral("Tested"), {m_open, m_save});
        WindowProbe::documentMenu(*m_form).addSection(QStringLiteral("Second"), {m_find});
    }
    void cleanup()
    {
        closePopups();
        m_form.reset();
    }

    void editingEntriesThenSectionsInOrder()
    {
        std::unique_ptr<QMenu> menu(WindowProbe::documentMenu(*m_form).build(QPoint(5, 5)));
        const QStringList got = entries(*menu);
        // The editor's usual entries stay, in the editor's own order.
        std::unique_ptr<QMenu> standard(WindowProbe::documentArea(*m_form)->createStandardContextMenu(QPoint(5, 5)));
        const QStringList editing = entries(*standard);
        QVERIFY(editing.contains(QStringLiteral("&Paste")));
        QVERIFY(editing.contains(QStringLiteral("Select All")));
        QCOMPARE(got.mid(0, editing.size()), editing);
        // The window's own sections come first, then the ones added here.
        QCOMPARE(got.value(editing.size()), QStringLiteral("[File]"));
        QVERIFY(got.indexOf(QStringLiteral("[Analysis]")) > editing.size());
        QCOMPARE(got.mid(got.size() - 5),
                 QStringList({QStringLiteral("[Tested]"), QStringLiteral("Open..."),
                              QStringLiteral("Save"), QStringLiteral("[Second]"),
                              QStringLiteral("Step")}));
    }

    void fileSection_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("open") << "&Open..." << "Ctrl+O";
        QTest::newRow("recent") << "Open R&ecent" << "";
        QTest::newRow("save") << "&Save" << "Ctrl+S";
        QTest::newRow("save as") << "Save &As..." << "Ctrl+Shift+S";
        QTest::newRow("word list") << "Export &Word List..." << "";
        QTest::newRow("highlighted") << "Export &Highlighted Document..." << "";
    }
    void fileSection()
    {
        QFETCH(QString, entry);
        QFETCH(QString, shortcut);
        std::unique_ptr<QMenu> menu(WindowProbe::documentMenu(*m_form).build(QPoint(5, 5)));
        const QList<QAction *> actions = menu->actions();
        const auto file = std::find_if(actions.begin(), actions.end(),
                                       [](QAction *a) { return a->text() == u"File"; });
        QVERIFY(file != actions.end());
        const auto found = std::find_if(file, actions.end(), [&](QAction *a) { return a->text() == entry; });
        QVERIFY(found != actions.end());
        QCOMPARE((*found)->shortcut(), QKeySequence(shortcut));
        // Reachable from anywhere in the window.
        QVERIFY(m_form->actions().contains(*found));
    }

    void opensFromTheKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("opens");
        QTest::newRow("menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier) << true;
        QTest::newRow("shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier) << true;
        QTest::newRow("F10 alone") << int(Qt::Key_F10) << int(Qt::NoModifier) << false;
        QTest::newRow("ctrl+F10") << int(Qt::Key_F10) << int(Qt::ControlModifier) << false;
    }
    void opensFromTheKeyboard()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, opens);
        m_form->activateWindow();
        WindowProbe::documentArea(*m_form)->setFocus();
        const QString before = WindowProbe::documentArea(*m_form)->toPlainText();
        QTest::keyClick(WindowProbe::documentArea(*m_form), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QMenu *menu = openPopup();
        QCOMPARE(menu != nullptr, opens);
        if (menu) {
            QVERIFY(entries(*menu).contains(QStringLiteral("Step")));
            // At the caret, over the document area: a menu taller than the
            // room below the caret opens upwards.
            const QRect area(WindowProbe::documentArea(*m_form)->viewport()->mapToGlobal(QPoint(0, 0)),
                             WindowProbe::documentArea(*m_form)->viewport()->size());
            QVERIFY(area.left() <= menu->pos().x() && menu->pos().x() <= area.right());
            QVERIFY(menu->geometry().intersects(area));
        }
        QCOMPARE(WindowProbe::documentArea(*m_form)->toPlainText(), before);
    }

    void rightClickOpensIt()
    {
        Q_EMIT WindowProbe::documentArea(*m_form)->customContextMenuRequested(QPoint(10, 10));
        QMenu *menu = openPopup();
        QVERIFY(menu);
        QVERIFY(entries(*menu).contains(QStringLiteral("Open...")));
        // The menu is gone once closed.
        QSignalSpy gone(menu, &QObject::destroyed);
        menu->close();
        QTRY_COMPARE(gone.size(), 1);
    }

    void shortcutsWorkAnywhereInTheWindow_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::newRow("document") << QStringLiteral("documentArea");
        QTest::newRow("minimum length box") << QStringLiteral("minLengthEdit");
        QTest::newRow("word list") << QStringLiteral("wordList");
    }
    void shortcutsWorkAnywhereInTheWindow()
    {
        QFETCH(QString, focus);
        QWidget *target = m_form->findChild<QWidget *>(focus);
        QVERIFY(target);
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        target->setFocus();
        QSignalSpy opened(m_open, &QAction::triggered);
        QSignalSpy found(m_find, &QAction::triggered);
        QTest::keyClick(target, Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
        QTest::keyClick(target, Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(found.size(), 1);
        QCOMPARE(WindowProbe::minLengthEdit(*m_form)->text(), QStringLiteral("3"));
    }
};

QTEST_MAIN(DocumentMenuTest)
#include "tst_documentmenu.moc"
