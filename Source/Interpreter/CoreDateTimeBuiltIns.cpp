// Date and time: Year, Month, Day, DayOfWeek, DayOfYear, Hour, Minute, Second. They
// take no arguments (DayOfWeek one optional) and read the host's clock.
#include <array>
#include <string_view>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Interpreter/StringFunctions.h"

namespace Quenta::Interpreter {

namespace {

// The handler leaves anything but ")" in place, so arguments given to these functions
// are reported by the evaluator as an unclosed call.
template <int ClockReading::*Field>
Value* clockFieldBuiltIn(Parser& parser, std::u16string_view) {
    return parser.makeNum(parser.host().clock().*Field);
}

constexpr std::array<std::u16string_view, 7> kJapaneseDays{u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
constexpr std::array<std::u16string_view, 7> kEnglishDays{u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                                          u"Thursday", u"Friday", u"Saturday"};

// With "JP" or "EN" the weekday's name; the argument is compared after trimming
// blanks and upper-casing ASCII letters, so "jp" and " En " work too. Any other
// argument, or none, gives the number 0 (Sunday) to 6.
Value* dayOfWeekBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* language = args.next();
    const int day = parser.host().clock().dayOfWeek;
    if (language && day >= 0 && day < 7) {
        const std::u16string key = normaliseKeyword(language->toStr());
        if (key == u"JP") {
            return parser.makeStr(kJapaneseDays[static_cast<std::size_t>(day)]);
        }
        if (key == u"EN") {
            return parser.makeStr(kEnglishDays[static_cast<std::size_t>(day)]);
        }
    }
    return parser.makeNum(day);
}

}  // namespace

void registerCoreDateTimeBuiltIns(BuiltInTable& table) {
    table.add(u"Year", &clockFieldBuiltIn<&ClockReading::year>);
    table.add(u"Month", &clockFieldBuiltIn<&ClockReading::month>);
    table.add(u"Day", &clockFieldBuiltIn<&ClockReading::day>);
    table.add(u"DayOfWeek", &dayOfWeekBuiltIn);
    table.add(u"DayOfYear", &clockFieldBuiltIn<&ClockReading::dayOfYear>);
    table.add(u"Hour", &clockFieldBuiltIn<&ClockReading::hour>);
    table.add(u"Minute", &clockFieldBuiltIn<&ClockReading::minute>);
    table.add(u"Second", &clockFieldBuiltIn<&ClockReading::second>);
}

}  // namespace Quenta::Interpreter
