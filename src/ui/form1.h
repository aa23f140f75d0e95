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
class SlicedBolding;
class WidgetSurface;
class WordListBox;
struct WindowProbe;

class Form1 : public QWidget
{
    Q_OBJECT
public:
    // Passes are paced by pacer, which must outlive the window, or when none
    // is given by a pacer of the window's own on the steady clock.
    explicit Form1(PassPacer *pacer = nullptr, QWidget *parent = nullptr);
    ~Form1() override;

    // The controls, each also findable by its object name.
    DocumentArea *TB;
    QGroupBox *Frame1;
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *Command3;
    FloatProgressBar *prog;
    QLabel *lblS;
    QScrollBar *ScrlS;
    QLabel *Label1;
    QLineEdit *txtML;
    QRadioButton *Option2;
    QRadioButton *ckOpt;
    QRadioButton *ckBoth;
    QListWidget *lstWords;
    QCheckBox *ckFilter;
    QCheckBox *ckBold;

    // Event handlers.
    void Command1_Click();   // Analyze
    // "Analyze Selection": a pass over the offsets [first, last] alone.
    void analyzeRange(qsizetype first, qsizetype last);
    void Command2_Click();   // Clear Formatting
    void Command3_Click();   // Clear All
    void lstWords_Click();
    // button: 1 left, 2 right, 4 middle; shift: 1 shift, 2 control, 4 alt;
    // x and y in twips.
    void lstWords_MouseDown(qint16 button, qint16 shift, float x, float y);
    void ckBold_Click();
    void Form_Resize();

    // The file behind the document: opening, saving, recovery.
    DocumentFile &documentFile() { return *m_file; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeOnScreen(QMargins frame);
    void createControls();
    void describeForScreenReaders();
    void copySelectedLines();
    void placeControls();
    void fitCaptions();
    void chainTabOrder();
    void wire();
    void startPass(std::function<void()> pass);
    void runPass(TextSurface &surface);
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
    std::unique_ptr<PassPacer> m_ownPacer;
    PassPacer &m_pacer;
    bool m_framePending = true;
    bool m_passRunning = false;
    std::function<void()> m_nextPass;   // asked for during the running pass

    friend struct WindowProbe;   // the tests' and tools' view of the inside
};

} // namespace tq::ui
