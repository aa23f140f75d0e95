// Included by every test: the number test follows the locale, so each test
// binary runs with "." as the decimal point and "," as the group separator,
// whatever the machine is set to.
#pragma once

#include <QLocale>
#include <QtGlobal>

static void tqUseFixedTestLocale()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}
Q_CONSTRUCTOR_FUNCTION(tqUseFixedTestLocale)
