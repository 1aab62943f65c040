#include "locale_conventions.h"

namespace karbelon::window::qt {

NumberConventions conventionsFrom(const QLocale& locale) {
    NumberConventions conventions;
    conventions.decimalSeparator = locale.decimalPoint().toStdString();
    const QString group = locale.groupSeparator();
    // A locale without a grouping mark would print long figures as one run
    // of digits; keep the usual comma instead.
    if (!group.isEmpty()) {
        conventions.thousandsSeparator = group.toStdString();
    }
    return conventions;
}

}  // namespace karbelon::window::qt
