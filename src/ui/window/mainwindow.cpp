#include "mainwindow.h"

#include "analysiscommands.h"
#include "analysispass.h"
#include "arrowscrollbar.h"
#include "boldmarks.h"
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
#include "reportfeed.h"
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

} // namespace

MainWindow::MainWindow(PassPacer *pacer, QWidget *parent)
    : QWidget(parent)
    , m_twips(logicalDpiX(), logicalDpiY())
    , m_ownPacer(pacer ? nullptr : std::make_unique<PassPacer>())
    , m_pacer(pacer ? *pacer : *m_ownPacer)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(programName());
    setWindowIcon(appIcon());
    createControls();
    placeControls();
    fitCaptions();
    chainTabOrder();

    m_surface = std::make_unique<WidgetSurface>(m_documentArea);
    m_bolding = std::make_unique<SlicedBolding>(*m_surface, m_documentArea);
    new BoldMarks(*m_surface, m_documentArea);   // owned by the area's scroll bar
    m_controls = std::make_unique<FormControls>(m_minLengthEdit, m_filterCheck, m_sensitivityBar, m_beginningOption, m_completeWordsOption, m_progressBar);
    m_list = std::make_unique<WordListBox>(m_wordList);
    m_menu = new DocumentMenu(m_documentArea);
    m_file = new DocumentFile(this, m_documentArea);
    m_exports = new ExportCommands(this, m_documentArea, *m_surface, *m_bolding, *m_list);
    // The document menu's sections, in order.
    m_menu->addSection(QStringLiteral("File"), m_file->actions() + m_exports->actions());
    m_analysis = new AnalysisCommands(this, m_documentArea, *m_surface, *m_list,
                                      [this](qsizetype first, qsizetype last) { analyzeRange(first, last); });
    m_menu->addSection(QStringLiteral("Analysis"), m_analysis->actions());
    m_report = new ReportFeed(this, m_documentArea, *m_surface, *m_list, *m_analysis);
    connect(m_analysis->wordReport, &QAction::triggered, m_report, &ReportFeed::open);
    connect(m_file, &DocumentFile::note, &m_analysis->notice(), &Notice::tell);
    m_menu->addSection(QStringLiteral("View"), (new DocumentZoom(m_documentArea))->actions());   // owned by m_documentArea
    wire();

    setMinimumSize(m_twips.x(MinimumClient.width()), m_twips.y(MinimumClient.height()));
    resize(m_twips.x(DesignClient.width()), m_twips.y(DesignClient.height()));
    placeOnScreen(QMargins());
}

// The frame is not known before the window manager has framed the window:
// it is placed once without one, and again if the framed window then spills
// over the screen.
void MainWindow::placeOnScreen(QMargins frame)
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

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    m_documentArea = named(new DocumentArea(this), "documentArea");
    QFont documentFont(QStringLiteral("MS Sans Serif"));
    documentFont.setPointSizeF(8.25);
    m_documentArea->setFont(documentFont);
    m_documentArea->document()->setDefaultFont(documentFont);
    m_documentArea->setPlainText(QStringLiteral("The quick brown fox jumps over the lazy dog.\n"));

    m_controlPanel = named(new QGroupBox(this), "controlPanel");
    m_analyzeButton = named(new QPushButton(QStringLiteral("Analyze"), m_controlPanel), "analyzeButton");
    m_clearFormattingButton = named(new QPushButton(QStringLiteral("Clear Formatting"), m_controlPanel), "clearFormattingButton");
    m_clearAllButton = named(new QPushButton(QStringLiteral("Clear All"), m_controlPanel), "clearAllButton");
    for (QPushButton *b : {m_analyzeButton, m_clearFormattingButton, m_clearAllButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    m_progressBar = named(new FloatProgressBar(m_controlPanel), "progressBar");
    m_sensitivityLabel = named(new QLabel(QStringLiteral("Sensitivity:"), m_controlPanel), "sensitivityLabel");
    m_sensitivityBar = named(new ArrowScrollBar(Qt::Horizontal, m_controlPanel), "sensitivityBar");
    m_sensitivityBar->setRange(20, 400);
    m_sensitivityBar->setSingleStep(1);
    m_sensitivityBar->setPageStep(40);
    m_sensitivityBar->setValue(20);
    m_sensitivityBar->setFocusPolicy(Qt::StrongFocus);
    new ValueTip(m_sensitivityBar, QStringLiteral("characters"));   // owned by m_sensitivityBar
    m_minLengthLabel = named(new QLabel(QStringLiteral("Minimum Word Check Length:"), m_controlPanel), "minLengthLabel");
    m_minLengthEdit = named(new QLineEdit(QStringLiteral("3"), m_controlPanel), "minLengthEdit");
    m_noFiltersOption = named(new QRadioButton(QStringLiteral("No Filters"), m_controlPanel), "noFiltersOption");
    m_beginningOption = named(new QRadioButton(QStringLiteral("Match Must be at the Beginning of a Word"), m_controlPanel),
                  "beginningOption");
    m_completeWordsOption = named(new QRadioButton(QStringLiteral("Both Match and Original Must be Complete Words"),
                                    m_controlPanel),
                   "completeWordsOption");
    m_noFiltersOption->setChecked(true);   // the three are one exclusive group by being siblings
    m_wordList = named(new QListWidget(m_controlPanel), "wordList");
    m_wordList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_wordList->setSortingEnabled(false);
    m_wordList->setUniformItemSizes(true);   // a book's tens of thousands of words lay out at once
    m_filterCheck = named(new QCheckBox(QStringLiteral("Filter Using Minimum Length"), m_controlPanel), "filterCheck");
    m_boldCheck = named(new QCheckBox(QStringLiteral("Bold Highlighted Words"), m_controlPanel), "boldCheck");
    describeForScreenReaders();
}

// Buttons and boxes speak their captions; the others get a name here.
void MainWindow::describeForScreenReaders()
{
    auto describe = [](QWidget *w, const QString &name, const QString &description) {
        if (!name.isEmpty())
            w->setAccessibleName(name);
        w->setAccessibleDescription(description);
    };
    describe(m_documentArea, QStringLiteral("Document"), QStringLiteral("The text to analyse"));
    describe(m_sensitivityBar, QStringLiteral("Sensitivity"),
             QStringLiteral("How close a repetition must be to be coloured, in characters"));
    describe(m_minLengthEdit, QStringLiteral("Minimum word check length"),
             QStringLiteral("Shorter words are not looked for as repetitions"));
    describe(m_wordList, QStringLiteral("Word list"),
             QStringLiteral("Every word with its count, most frequent first"));
    describe(m_progressBar, QStringLiteral("Progress"), QStringLiteral("How far the analysis has got"));
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{
             m_analyzeButton, m_clearFormattingButton, m_clearAllButton, m_noFiltersOption, m_beginningOption, m_completeWordsOption, m_filterCheck, m_boldCheck})
        describe(b, b->text(), QString());
    m_analyzeButton->setAccessibleDescription(QStringLiteral("Count the words and colour close repetitions"));
    m_clearFormattingButton->setAccessibleDescription(QStringLiteral("Remove all colour and bold"));
    m_clearAllButton->setAccessibleDescription(QStringLiteral("Empty the document and the word list"));
}

void MainWindow::placeControls()
{
    const Twips &t = m_twips;
    m_documentArea->setGeometry(t.rect(120, 120, 8295, 6495));
    m_controlPanel->setGeometry(t.rect(120, 6600, 8295, 2175));
    m_analyzeButton->setGeometry(t.rect(120, 240, 1455, 375));
    m_clearFormattingButton->setGeometry(t.rect(120, 780, 1455, 375));
    m_clearAllButton->setGeometry(t.rect(120, 1320, 1455, 375));
    m_progressBar->setGeometry(t.rect(120, 1800, 5655, 255));
    m_sensitivityLabel->setGeometry(t.rect(1920, 240, 750, 195));
    m_sensitivityBar->setGeometry(t.rect(2760, 240, 3015, 255));
    m_minLengthLabel->setGeometry(t.rect(1920, 600, 2145, 195));
    m_minLengthEdit->setGeometry(t.rect(5040, 570, 735, 285));
    m_noFiltersOption->setGeometry(t.rect(1920, 960, 3255, 255));
    m_beginningOption->setGeometry(t.rect(1920, 1200, 3495, 255));
    m_completeWordsOption->setGeometry(t.rect(1920, 1440, 3855, 255));
    m_wordList->setGeometry(t.rect(5880, 240, 2295, 1230));
    m_filterCheck->setGeometry(t.rect(5880, 1500, 2295, 255));
    m_boldCheck->setGeometry(t.rect(5880, 1800, 2295, 255));
}

// The panel is laid out for a small font. Where the system font is larger,
// the panel's font shrinks until every caption fits its control, so none is
// cut off or runs into its neighbour.
void MainWindow::fitCaptions()
{
    struct Fit
    {
        QWidget *widget;
        int room;   // pixels the caption may take
    };
    const Twips &t = m_twips;
    const std::initializer_list<Fit> fits = {
        {m_analyzeButton, m_analyzeButton->width()}, {m_clearFormattingButton, m_clearFormattingButton->width()},
        {m_clearAllButton, m_clearAllButton->width()}, {m_noFiltersOption, m_noFiltersOption->width()},
        {m_beginningOption, m_beginningOption->width()},       {m_completeWordsOption, m_completeWordsOption->width()},
        {m_filterCheck, m_filterCheck->width()}, {m_boldCheck, m_boldCheck->width()},
        // The labels grow to their captions, up to the control beside them.
        {m_sensitivityLabel, t.x(2760 - 1920 - 30)}, {m_minLengthLabel, t.x(5040 - 1920 - 60)},
    };
    auto fitsAll = [&] {
        for (const Fit &f : fits) {
            if (f.widget->sizeHint().width() > f.room)
                return false;
        }
        return true;
    };
    QFont font = m_controlPanel->font();
    while (!fitsAll() && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        m_controlPanel->setFont(font);
    }
    for (QLabel *label : {m_sensitivityLabel, m_minLengthLabel})
        label->resize(label->sizeHint());
}

void MainWindow::chainTabOrder()
{
    const QList<QWidget *> order = {m_documentArea,      m_minLengthEdit,  m_clearAllButton, m_clearFormattingButton, m_sensitivityBar,  m_analyzeButton,
                                    m_wordList, m_filterCheck, m_boldCheck, m_beginningOption,  m_completeWordsOption, m_noFiltersOption};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void MainWindow::wire()
{
    connect(m_analyzeButton, &QPushButton::clicked, this, &MainWindow::analyze);
    connect(m_clearFormattingButton, &QPushButton::clicked, this, &MainWindow::clearFormatting);
    connect(m_clearAllButton, &QPushButton::clicked, this, &MainWindow::clearAll);
    // Raised by every change of the selection, from the user or from code.
    connect(m_wordList, &QListWidget::itemSelectionChanged, this, &MainWindow::onWordSelectionChanged);
    connect(m_boldCheck, &QCheckBox::toggled, this, &MainWindow::onBoldToggled);
    m_wordList->viewport()->installEventFilter(this);
    m_wordList->installEventFilter(this);

    // A file's content replaces the document: what was found in the old one goes.
    connect(m_file, &DocumentFile::replacingDocument, this, [this] {
        stopPasses();
        m_bolding->cancel();
        m_list->clear();
    });
    // A new way of grouping the list shows at once on the text analysed.
    // Whether there is a list to regroup is decided now; the pass is queued:
    // the change comes from a menu entry, and a pass run inside the menu's
    // own key or mouse handler visits the event loop while the menu is being
    // closed and deleted, which corrupted the heap.
    connect(m_analysis, &AnalysisCommands::listSettingsChanged, this, [this] {
        if (m_wordList->count() > 0)
            QMetaObject::invokeMethod(this, &MainWindow::analyze, Qt::QueuedConnection);
    });
    // So does a running pass when the writer replaces the whole text (select
    // all, then type or paste): its list would describe text no longer there.
    connect(m_surface.get(), &WidgetSurface::wholeTextReplaced, this, &MainWindow::stopPasses);
}

// Every pass running or asked for ends; the list keeps what it showed before.
void MainWindow::stopPasses()
{
    m_pacer.stopAll();
    m_nextPass = {};
}

// The selected lines, in list order, one per line: the frequency list can be
// taken elsewhere.
void MainWindow::copySelectedLines()
{
    QStringList lines;
    for (int i = 0; i < m_wordList->count(); ++i) {
        if (m_wordList->item(i)->isSelected())
            lines.append(WordListBox::publishedLine(m_wordList->item(i)));
    }
    if (!lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_wordList && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
        copySelectedLines();
        return true;
    }
    if (watched == m_wordList->viewport()
        && (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonDblClick)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        onWordListPressed(mouse->button());
        // Only the left button selects; the others have had their effect.
        return mouse->button() != Qt::LeftButton;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::analyze()
{
    // The pass starts by clearing all bold.
    m_bolding->cancel();
    startPass([this] { runPass(*m_surface); });
}

void MainWindow::analyzeRange(qsizetype first, qsizetype last)
{
    // The pass clears the bold of its part only; the rest keeps the chosen words'.
    m_bolding->finish();
    startPass([this, first, last] {
        RangeSurface part(*m_surface, first, last);
        // The part moves with what the writer types while the pass yields.
        const QMetaObject::Connection follow = connect(
            m_documentArea->document(), &QTextDocument::contentsChange, this,
            [&part](int position, int removed, int added) { part.followEdit(position, removed, added); });
        runPass(part, std::pair{first, last});
        disconnect(follow);
    });
}

// A pass asked for during a pass comes from inside its visit to the event
// loop: the running pass stops at its next resume and the newest request
// runs once it has unwound, so repeated presses never pile passes (and their
// copies of the document) onto the stack.
void MainWindow::startPass(std::function<void()> pass)
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

void MainWindow::runPass(TextSurface &surface, std::optional<std::pair<qsizetype, qsizetype>> range)
{
    const quint64 pass = m_pacer.startPass();
    qint64 tokens = 0;
    const YieldFunction resume = [&] { return resumePass(pass, ++tokens); };
    // The pass publishes into a list of its own, and the list box is filled
    // after one more visit to the event loop: ordering a book's list and
    // filling the box with it are two waits of about 25 ms, not one of 50.
    MemoryList published;
    const PassOptions options = m_analysis->passOptions();
    const PassOutcome outcome = runAnalysisPass(surface, *m_controls, published, m_table, resume, options,
                                                QLocale(), resume);
    if (!m_pacer.isCurrent(pass))
        return;
    m_surface->flushFormatting();
    if (!outcome.completed || !resume())
        return;
    m_list->clear();
    m_list->append(published.entries);
    FixedControls read;
    read.minLength = m_controls->minimumLengthText();
    read.filter = m_controls->filterOn();
    read.sens = m_controls->sensitivity();
    read.mode = m_controls->matchMode();
    std::optional<TextRange> part;
    if (range)
        part = TextRange{range->first, range->second};
    m_report->passFinished(read, options, part);
}

// The engine's yield after every token but the last.
bool MainWindow::resumePass(quint64 pass, qint64 tokens)
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

void MainWindow::clearFormatting()
{
    m_bolding->cancel();
    resetFormatting(*m_surface);
    m_surface->flushFormatting();
}

void MainWindow::clearAll()
{
    // A pass left running would publish the list of the text just emptied.
    stopPasses();
    m_bolding->cancel();
    tq::clearAll(*m_surface, *m_list);
    m_surface->flushFormatting();
}

void MainWindow::onWordSelectionChanged()
{
    m_analysis->forgetStops();
    m_report->listSelectionChanged();
    if (!m_boldCheck->isChecked())
        return;
    m_bolding->start(*m_list);
}

void MainWindow::onWordListPressed(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        return;   // the list applies its own selection rules
    {
        // One notification for the whole clear, not one per entry.
        const QSignalBlocker quiet(m_wordList);
        m_wordList->clearSelection();
    }
    onWordSelectionChanged();
}

void MainWindow::onBoldToggled()
{
    if (m_boldCheck->isChecked()) {
        onWordSelectionChanged();
    } else {
        m_bolding->cancel();
        clearBold(*m_surface);
        m_surface->flushFormatting();
    }
}

void MainWindow::followResize()
{
    const std::optional<PanelLayout> layout = applyResizeRule(
        [this] { return QSizeF(m_twips.fromX(width()), m_twips.fromY(height())); },
        [this](QSizeF client) { resize(m_twips.x(client.width()), m_twips.y(client.height())); });
    if (!layout)
        return;
    m_documentArea->resize(m_twips.x(layout->documentSize.width()), m_twips.y(layout->documentSize.height()));
    m_controlPanel->move(m_controlPanel->x(), m_twips.y(layout->frameTop));
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    followResize();
}

void MainWindow::moveEvent(QMoveEvent *event)
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_file->maySetAside()) {
        event->ignore();
        return;
    }
    m_file->closing();
    // A pass still running ends at its next resume; the window itself lives
    // on until the handler that runs it has returned.
    stopPasses();
    QWidget::closeEvent(event);
}

} // namespace tq::ui
