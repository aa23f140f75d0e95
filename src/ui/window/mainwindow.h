// The program's only window: the document area above, the control panel
// below. The window builds and places its controls, keeps them in step with
// its size and routes their events to the handlers; what the handlers do is
// the business of the analysis and browsing code they call.
#pragma once

#include "textsurface.h"
#include "twips.h"
#include "wordtable.h"

#include <QMargins>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace tq::ui {

class AnalysisCommands;
class DocumentArea;
class DocumentFile;
class DocumentMenu;
class ExportCommands;
class FloatProgressBar;
class FormControls;
class PassPacer;
class ReportFeed;
class SlicedBolding;
class WidgetSurface;
class WordListBox;
struct WindowProbe;

class MainWindow : public QWidget
{
    Q_OBJECT
public:
    // Passes are paced by pacer, which must outlive the window, or when none
    // is given by a pacer of the window's own on the steady clock.
    explicit MainWindow(PassPacer *pacer = nullptr, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The file behind the document: opening, saving, recovery.
    DocumentFile &documentFile() { return *m_file; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The controls, each also findable by its object name.
    DocumentArea *m_documentArea;
    QGroupBox *m_controlPanel;
    QPushButton *m_analyzeButton;
    QPushButton *m_clearFormattingButton;
    QPushButton *m_clearAllButton;
    FloatProgressBar *m_progressBar;
    QLabel *m_sensitivityLabel;
    QScrollBar *m_sensitivityBar;
    QLabel *m_minLengthLabel;
    QLineEdit *m_minLengthEdit;
    QRadioButton *m_noFiltersOption;
    QRadioButton *m_beginningOption;
    QRadioButton *m_completeWordsOption;
    QListWidget *m_wordList;
    QCheckBox *m_filterCheck;
    QCheckBox *m_boldCheck;

    // What the controls do.
    void analyze();
    // "Analyze Selection": a pass over the offsets [first, last] alone.
    void analyzeRange(qsizetype first, qsizetype last);
    void clearFormatting();
    void clearAll();
    void onWordSelectionChanged();
    // A press on the list other than with the left button clears the selection.
    void onWordListPressed(Qt::MouseButton button);
    void onBoldToggled();
    void followResize();

    void placeOnScreen(QMargins frame);
    void createControls();
    void describeForScreenReaders();
    void copySelectedLines();
    void placeControls();
    void fitCaptions();
    void chainTabOrder();
    void wire();
    void startPass(std::function<void()> pass);
    void stopPasses();
    void runPass(TextSurface &surface, std::optional<std::pair<qsizetype, qsizetype>> range = {});
    bool resumePass(quint64 pass, qint64 tokens);

    Twips m_twips;
    WordTable m_table;
    std::unique_ptr<WidgetSurface> m_surface;
    std::unique_ptr<SlicedBolding> m_bolding;
    std::unique_ptr<FormControls> m_controls;
    std::unique_ptr<WordListBox> m_list;
    DocumentMenu *m_menu = nullptr;   // owned by the document area
    AnalysisCommands *m_analysis = nullptr;   // a child of the window
    DocumentFile *m_file = nullptr;   // owned by the window
    ExportCommands *m_exports = nullptr;
    ReportFeed *m_report = nullptr;   // a child of the window
    std::unique_ptr<PassPacer> m_ownPacer;
    PassPacer &m_pacer;
    bool m_framePending = true;
    bool m_passRunning = false;
    std::function<void()> m_nextPass;   // asked for during the running pass

    friend struct WindowProbe;   // the tests' and tools' view of the inside
};

} // namespace tq::ui
