#include "form1.h"

#include "analysiscommands.h"
#include "analysispass.h"
#include "arrowscrollbar.h"
#include "documentarea.h"
#include "documentfile.h"
#include "notice.h"
#include "documentmenu.h"
#include "documentzoom.h"
#include "memorylist.h"
#include "exportcommands.h"
#include "floatprogressbar.h"
#include "formcontrols.h"
#include "passpacer.h"
#include "icon/appicon.h"
#include "programname.h"
#include "rangesurface.h"
#include "resizerule.h"
#include "screenfit.h"
#include "slicedbolding.h"
#include "valuetip.h"
#include "widgetsurface.h"
#include "browsecommands.h"
#include "wordlistbox.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>

namespace tq::ui {

namespace {

template<typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

qint16 buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 8;   // any other button counts as "not the left one"
    }
}

qint16 shiftCode(Qt::KeyboardModifiers modifiers)
{
    return qint16((modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
                  | (modifiers & Qt::AltModifier ? 4 : 0));
}

} // namespace

Form1::Form1(PassPacer *pacer, QWidget *parent)
    : QWidget(parent)
    , m_twips(logicalDpiX(), logicalDpiY())
    , m_ownPacer(pacer ? nullptr : std::make_unique<PassPacer>())
    , m_pacer(pacer ? *pacer : *m_ownPacer)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(programName());
    setWindowIcon(appIcon());
    createControls();
    placeControls();
    fitCaptions();
    chainTabOrder();

    m_surface = std::make_unique<WidgetSurface>(TB);
    m_bolding = std::make_unique<SlicedBolding>(*m_surface, TB);
    m_controls = std::make_unique<FormControls>(txtML, ckFilter, ScrlS, ckOpt, ckBoth, prog);
    m_list = std::make_unique<WordListBox>(lstWords);
    m_menu = new DocumentMenu(TB);
    m_file = new DocumentFile(this, TB);
    m_exports = new ExportCommands(this, TB, *m_surface, *m_bolding, *m_list);
    // The document menu's sections, in order.
    m_menu->addSection(QStringLiteral("File"), m_file->actions() + m_exports->actions());
    m_analysis = new AnalysisCommands(this, TB, *m_surface, *m_list,
                                      [this](qsizetype first, qsizetype last) { analyzeRange(first, last); });
    m_menu->addSection(QStringLiteral("Analysis"), m_analysis->actions());
    connect(m_file, &DocumentFile::note, &m_analysis->notice(), &Notice::tell);
    m_menu->addSection(QStringLiteral("View"), (new DocumentZoom(TB))->actions());   // owned by TB
    wire();

    setMinimumSize(m_twips.x(MinimumClient.width()), m_twips.y(MinimumClient.height()));
    resize(m_twips.x(DesignClient.width()), m_twips.y(DesignClient.height()));
    placeOnScreen(QMargins());
}

// The frame is not known before the window manager has framed the window:
// it is placed once without one, and again if the framed window then spills
// over the screen.
void Form1::placeOnScreen(QMargins frame)
{
    const QScreen *s = screen();
    if (!s)
        return;
    const WindowPlace place = tq::ui::placeOnScreen(
        QSize(m_twips.x(DesignClient.width()), m_twips.y(DesignClient.height())), minimumSize(),
        s->availableGeometry(), frame);
    resize(place.size);
    move(place.framePosition);
}

Form1::~Form1() = default;

void Form1::createControls()
{
    TB = named(new DocumentArea(this), "TB");
    QFont documentFont(QStringLiteral("MS Sans Serif"));
    documentFont.setPointSizeF(8.25);
    TB->setFont(documentFont);
    TB->document()->setDefaultFont(documentFont);
    TB->setPlainText(QStringLiteral("The quick brown fox jumps over the lazy dog.\n"));

    Frame1 = named(new QGroupBox(this), "Frame1");
    Command1 = named(new QPushButton(QStringLiteral("Analyze"), Frame1), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Clear Formatting"), Frame1), "Command2");
    Command3 = named(new QPushButton(QStringLiteral("Clear All"), Frame1), "Command3");
    for (QPushButton *b : {Command1, Command2, Command3}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    prog = named(new FloatProgressBar(Frame1), "prog");
    lblS = named(new QLabel(QStringLiteral("Sensitivity:"), Frame1), "lblS");
    ScrlS = named(new ArrowScrollBar(Qt::Horizontal, Frame1), "ScrlS");
    ScrlS->setRange(20, 400);
    ScrlS->setSingleStep(1);
    ScrlS->setPageStep(40);
    ScrlS->setValue(20);
    ScrlS->setFocusPolicy(Qt::StrongFocus);
    new ValueTip(ScrlS, QStringLiteral("characters"));   // owned by ScrlS
    Label1 = named(new QLabel(QStringLiteral("Minimum Word Check Length:"), Frame1), "Label1");
    txtML = named(new QLineEdit(QStringLiteral("3"), Frame1), "txtML");
    Option2 = named(new QRadioButton(QStringLiteral("No Filters"), Frame1), "Option2");
    ckOpt = named(new QRadioButton(QStringLiteral("Match Must be at the Beginning of a Word"), Frame1),
                  "ckOpt");
    ckBoth = named(new QRadioButton(QStringLiteral("Both Match and Original Must be Complete Words"),
                                    Frame1),
                   "ckBoth");
    Option2->setChecked(true);   // the three are one exclusive group by being siblings
    lstWords = named(new QListWidget(Frame1), "lstWords");
    lstWords->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstWords->setSortingEnabled(false);
    lstWords->setUniformItemSizes(true);   // a book's tens of thousands of words lay out at once
    ckFilter = named(new QCheckBox(QStringLiteral("Filter Using Minimum Length"), Frame1), "ckFilter");
    ckBold = named(new QCheckBox(QStringLiteral("Bold Highlighted Words"), Frame1), "ckBold");
    describeForScreenReaders();
}

// Buttons and boxes speak their captions; the others get a name here.
void Form1::describeForScreenReaders()
{
    auto describe = [](QWidget *w, const QString &name, const QString &description) {
        if (!name.isEmpty())
            w->setAccessibleName(name);
        w->setAccessibleDescription(description);
    };
    describe(TB, QStringLiteral("Document"), QStringLiteral("The text to analyse"));
    describe(ScrlS, QStringLiteral("Sensitivity"),
             QStringLiteral("How close a repetition must be to be coloured, in characters"));
    describe(txtML, QStringLiteral("Minimum word check length"),
             QStringLiteral("Shorter words are not looked for as repetitions"));
    describe(lstWords, QStringLiteral("Word list"),
             QStringLiteral("Every word with its count, most frequent first"));
    describe(prog, QStringLiteral("Progress"), QStringLiteral("How far the analysis has got"));
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{
             Command1, Command2, Command3, Option2, ckOpt, ckBoth, ckFilter, ckBold})
        describe(b, b->text(), QString());
    Command1->setAccessibleDescription(QStringLiteral("Count the words and colour close repetitions"));
    Command2->setAccessibleDescription(QStringLiteral("Remove all colour and bold"));
    Command3->setAccessibleDescription(QStringLiteral("Empty the document and the word list"));
}

void Form1::placeControls()
{
    const Twips &t = m_twips;
    TB->setGeometry(t.rect(120, 120, 8295, 6495));
    Frame1->setGeometry(t.rect(120, 6600, 8295, 2175));
    Command1->setGeometry(t.rect(120, 240, 1455, 375));
    Command2->setGeometry(t.rect(120, 780, 1455, 375));
    Command3->setGeometry(t.rect(120, 1320, 1455, 375));
    prog->setGeometry(t.rect(120, 1800, 5655, 255));
    lblS->setGeometry(t.rect(1920, 240, 750, 195));
    ScrlS->setGeometry(t.rect(2760, 240, 3015, 255));
    Label1->setGeometry(t.rect(1920, 600, 2145, 195));
    txtML->setGeometry(t.rect(5040, 570, 735, 285));
    Option2->setGeometry(t.rect(1920, 960, 3255, 255));
    ckOpt->setGeometry(t.rect(1920, 1200, 3495, 255));
    ckBoth->setGeometry(t.rect(1920, 1440, 3855, 255));
    lstWords->setGeometry(t.rect(5880, 240, 2295, 1230));
    ckFilter->setGeometry(t.rect(5880, 1500, 2295, 255));
    ckBold->setGeometry(t.rect(5880, 1800, 2295, 255));
}

// The panel is laid out for a small font. Where the system font is larger,
// the panel's font shrinks until every caption fits its control, so none is
// cut off or runs into its neighbour.
void Form1::fitCaptions()
{
    struct Fit
    {
        QWidget *widget;
        int room;   // pixels the caption may take
    };
    const Twips &t = m_twips;
    const std::initializer_list<Fit> fits = {
        {Command1, Command1->width()}, {Command2, Command2->width()},
        {Command3, Command3->width()}, {Option2, Option2->width()},
        {ckOpt, ckOpt->width()},       {ckBoth, ckBoth->width()},
        {ckFilter, ckFilter->width()}, {ckBold, ckBold->width()},
        // The labels grow to their captions, up to the control beside them.
        {lblS, t.x(2760 - 1920 - 30)}, {Label1, t.x(5040 - 1920 - 60)},
    };
    auto fitsAll = [&] {
        for (const Fit &f : fits) {
            if (f.widget->sizeHint().width() > f.room)
                return false;
        }
        return true;
    };
    QFont font = Frame1->font();
    while (!fitsAll() && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        Frame1->setFont(font);
    }
    for (QLabel *label : {lblS, Label1})
        label->resize(label->sizeHint());
}

void Form1::chainTabOrder()
{
    const QList<QWidget *> order = {TB,      txtML,  Command3, Command2, ScrlS,  Command1,
                                    lstWords, ckFilter, ckBold, ckOpt,  ckBoth, Option2};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void Form1::wire()
{
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    // Raised by every change of the selection, from the user or from code.
    connect(lstWords, &QListWidget::itemSelectionChanged, this, &Form1::lstWords_Click);
    connect(ckBold, &QCheckBox::toggled, this, &Form1::ckBold_Click);
    lstWords->viewport()->installEventFilter(this);
    lstWords->installEventFilter(this);

    // A file's content replaces the document: what was found in the old one goes.
    connect(m_file, &DocumentFile::replacingDocument, this, [this] {
        m_pacer.stopAll();
        m_bolding->cancel();
        m_list->clear();
    });
}

// The selected lines, in list order, one per line: the frequency list can be
// taken elsewhere.
void Form1::copySelectedLines()
{
    QStringList lines;
    for (int i = 0; i < lstWords->count(); ++i) {
        if (lstWords->item(i)->isSelected())
            lines.append(WordListBox::publishedLine(lstWords->item(i)));
    }
    if (!lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstWords && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
        copySelectedLines();
        return true;
    }
    if (watched == lstWords->viewport()
        && (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonDblClick)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPointF at = mouse->position();
        lstWords_MouseDown(buttonCode(mouse->button()), shiftCode(mouse->modifiers()),
                           float(m_twips.fromX(int(at.x()))), float(m_twips.fromY(int(at.y()))));
        // Only the left button selects; the others have had their effect.
        return mouse->button() != Qt::LeftButton;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Command1_Click()
{
    // The pass starts by clearing all bold.
    m_bolding->cancel();
    startPass([this] { runPass(*m_surface); });
}

void Form1::analyzeRange(qsizetype first, qsizetype last)
{
    // The pass clears the bold of its part only; the rest keeps the chosen words'.
    m_bolding->finish();
    startPass([this, first, last] {
        RangeSurface part(*m_surface, first, last);
        // The part moves with what the writer types while the pass yields.
        const QMetaObject::Connection follow = connect(
            TB->document(), &QTextDocument::contentsChange, this,
            [&part](int position, int removed, int added) { part.followEdit(position, removed, added); });
        runPass(part);
        disconnect(follow);
    });
}

// A pass asked for during a pass comes from inside its visit to the event
// loop: the running pass stops at its next resume and the newest request
// runs once it has unwound, so repeated presses never pile passes (and their
// copies of the document) onto the stack.
void Form1::startPass(std::function<void()> pass)
{
    m_nextPass = std::move(pass);
    if (m_passRunning) {
        m_pacer.stopAll();
        return;
    }
    m_passRunning = true;
    while (m_nextPass)
        std::exchange(m_nextPass, {})();
    m_passRunning = false;
}

void Form1::runPass(TextSurface &surface)
{
    const quint64 pass = m_pacer.startPass();
    qint64 tokens = 0;
    const YieldFunction resume = [&] { return resumePass(pass, ++tokens); };
    // The pass publishes into a list of its own, and the list box is filled
    // after one more visit to the event loop: ordering a book's list and
    // filling the box with it are two waits of about 25 ms, not one of 50.
    MemoryList published;
    const PassOutcome outcome =
        runAnalysisPass(surface, *m_controls, published, m_table, resume, m_analysis->passOptions());
    if (!m_pacer.isCurrent(pass))
        return;
    m_surface->flushFormatting();
    if (!outcome.completed || !resume())
        return;
    m_list->clear();
    m_list->append(published.entries);
}

// The engine's yield after every token but the last.
bool Form1::resumePass(quint64 pass, qint64 tokens)
{
    if (!m_pacer.isCurrent(pass))
        return false;
    if (!m_pacer.visitDue())
        return true;
    // The formatting of the whole slice is shown in one go.
    m_surface->flushFormatting();
    m_pacer.visitStarting(tokens);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_pacer.visitEnded();
    return m_pacer.isCurrent(pass);
}

void Form1::Command2_Click()
{
    m_bolding->cancel();
    resetFormatting(*m_surface);
    m_surface->flushFormatting();
}

void Form1::Command3_Click()
{
    m_bolding->cancel();
    clearAll(*m_surface, *m_list);
    m_surface->flushFormatting();
}

void Form1::lstWords_Click()
{
    if (!ckBold->isChecked())
        return;
    m_bolding->start(*m_list);
}

void Form1::lstWords_MouseDown(qint16 button, qint16 shift, float x, float y)
{
    Q_UNUSED(shift);
    Q_UNUSED(x);
    Q_UNUSED(y);
    if (button == 1)
        return;   // the list applies its own selection rules
    {
        // One notification for the whole clear, not one per entry.
        const QSignalBlocker quiet(lstWords);
        lstWords->clearSelection();
    }
    lstWords_Click();
}

void Form1::ckBold_Click()
{
    if (ckBold->isChecked()) {
        lstWords_Click();
    } else {
        m_bolding->cancel();
        ClearBold(*m_surface);
        m_surface->flushFormatting();
    }
}

void Form1::Form_Resize()
{
    const std::optional<PanelLayout> layout = applyResizeRule(
        [this] { return QSizeF(m_twips.fromX(width()), m_twips.fromY(height())); },
        [this](QSizeF client) { resize(m_twips.x(client.width()), m_twips.y(client.height())); });
    if (!layout)
        return;
    TB->resize(m_twips.x(layout->documentSize.width()), m_twips.y(layout->documentSize.height()));
    Frame1->move(Frame1->x(), m_twips.y(layout->frameTop));
}

void Form1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form1::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    const QRect framed = frameGeometry();
    if (!m_framePending || framed == geometry())
        return;
    m_framePending = false;
    if (screen() && !screen()->availableGeometry().contains(framed)) {
        placeOnScreen(QMargins(geometry().left() - framed.left(), geometry().top() - framed.top(),
                               framed.right() - geometry().right(),
                               framed.bottom() - geometry().bottom()));
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (!m_file->maySetAside()) {
        event->ignore();
        return;
    }
    m_file->closing();
    // A pass still running ends at its next resume; the window itself lives
    // on until the handler that runs it has returned.
    m_pacer.stopAll();
    m_nextPass = {};
    QWidget::closeEvent(event);
}

} // namespace tq::ui
