#include "ignoredwordsdialog.h"

#include "passoptions.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

namespace tq::ui {

const QStringList &IgnoredWordsDialog::commonWords()
{
    // Articles, pronouns, auxiliaries, prepositions, conjunctions and the
    // speech verbs of dialogue: words every page needs and no reader counts.
    static const QStringList words = QStringLiteral(
        "a about above after again against all also am an and any are as at be because been "
        "before being below between both but by can could did do does doing down during each "
        "either even ever every few for from further had has have having he her here hers "
        "herself him himself his how i if in into is it its itself just me might mine more "
        "most much must my myself neither no nor not now of off on once only or other our "
        "ours ourselves out over own same shall she should so some such than that the their "
        "theirs them themselves then there these they this those though through thus to too "
        "under until up upon us very was we were what when where whether which while who "
        "whom whose why will with within without would yet you your yours yourself "
        "yourselves asked said says replied told")
        .split(u' ');
    return words;
}

IgnoredWordsDialog::IgnoredWordsDialog(const QStringList &words, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("IgnoredWordsDialog"));
    setWindowTitle(QStringLiteral("Ignored Words"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(
        QStringLiteral("One word per line. These words are left out of the list and never "
                       "coloured as repetitions; letter case does not matter."),
        this);
    label->setWordWrap(true);
    layout->addWidget(label);

    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QStringLiteral("words"));
    m_edit->setPlainText(words.join(u'\n'));
    // A word never holds a tab: Tab moves on to the buttons, as in a form.
    m_edit->setTabChangesFocus(true);
    m_edit->installEventFilter(this);
    label->setBuddy(m_edit);
    layout->addWidget(m_edit);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton *common =
        buttons->addButton(QStringLiteral("Add &Common Words"), QDialogButtonBox::ActionRole);
    common->setObjectName(QStringLiteral("commonWords"));
    connect(common, &QPushButton::clicked, this, &IgnoredWordsDialog::addCommonWords);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(360, 420);
}

QStringList IgnoredWordsDialog::words() const
{
    return ignoredWordLines(m_edit->toPlainText());
}

// Ctrl+Enter accepts from inside the box, where Enter starts a new line.
bool IgnoredWordsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && key->modifiers().testFlag(Qt::ControlModifier)) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void IgnoredWordsDialog::addCommonWords()
{
    QStringList lines = words();
    QSet<QString> listed;
    for (const QString &w : lines)
        listed.insert(w.toLower());
    for (const QString &w : commonWords()) {
        if (!listed.contains(w))
            lines.append(w);
    }
    m_edit->setPlainText(lines.join(u'\n'));
}

} // namespace tq::ui
