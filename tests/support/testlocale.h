// Included by every test: the number test follows the locale, so each test
// binary runs with "." as the decimal point and "," as the group separator,
// whatever the machine is set to.
#pragma once

#include <QLocale>
#include <QtGlobal>

namespace tq::testing {

inline void useFixedLocale()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

} // namespace tq::testing

Q_CONSTRUCTOR_FUNCTION(tq::testing::useFixedLocale)
