// Text functions: Print, IndexOfStr, ContainsStr, StartsWithStr, EndsWithStr, SubStr,
// StrLength, ReplaceStr, SelectRandomStr, FindKansuji, KansujiToNum. Positions and
// lengths count UTF-16 code units.
#include <cmath>
#include <cstdint>

#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/KanjiNumerals.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/StringFunctions.h"
#include "framework/Numeric/GlobalRandom.h"

namespace Quenta::Interpreter {

namespace {

Value* printBuiltIn(Parser& parser, std::u16string_view name) {
    // Scripts use it to evaluate something for its effect; nothing is shown.
    LibraryArguments args(parser, name);
    args.next();
    return parser.makeStr(u"");
}

Value* indexOfStrBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto haystack = args.nextText();
    if (!haystack) {
        return parser.makeNum(-1);
    }
    const auto needle = args.nextText();
    if (!needle) {
        return parser.makeNum(-1);
    }
    Value* start = args.next();
    return parser.makeNum(static_cast<double>(indexOfStr(*haystack, *needle, start ? start->toInt() : 0)));
}

// ContainsStr, StartsWithStr and EndsWithStr: two texts in, a truth value out.
template <bool (*Test)(std::u16string_view, std::u16string_view)>
Value* textPairBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto left = args.nextText();
    if (!left) {
        return parser.makeBool(false);
    }
    const auto right = args.nextText();
    if (!right) {
        return parser.makeBool(false);
    }
    return parser.makeBool(Test(*left, *right));
}

bool contains(std::u16string_view text, std::u16string_view pattern) {
    return text.find(pattern) != std::u16string_view::npos;
}
bool startsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.starts_with(prefix);
}
bool endsWith(std::u16string_view text, std::u16string_view suffix) {
    return text.ends_with(suffix);
}

Value* subStrBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto whole = args.nextText();
    if (!whole) {
        return parser.makeStr(u"");
    }
    Value* start = args.next();
    if (!start) {
        return parser.makeStr(u"");
    }
    const std::int32_t from = start->toInt();
    Value* length = args.next();
    if (!length) {
        return parser.makeStr(u"");
    }
    return parser.makeStr(subStr(*whole, from, length->toInt()));
}

Value* strLengthBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* text = args.next();
    return parser.makeNum(text ? static_cast<double>(text->toStr().size()) : -1.0);
}

Value* replaceStrBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto whole = args.nextText();
    if (!whole) {
        return parser.makeStr(u"");
    }
    const auto pattern = args.nextText();
    if (!pattern) {
        return parser.makeStr(u"");
    }
    const auto replacement = args.nextText();
    if (!replacement) {
        return parser.makeStr(u"");
    }
    return parser.makeStr(replaceStr(*whole, *pattern, *replacement));
}

Value* selectRandomStrBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* list = args.next();
    if (!list) {
        return parser.makeStr(u"");
    }
    const auto pieces = splitTrimmed(list->toStr());
    auto index = static_cast<std::size_t>(std::floor(Arbor::Numeric::globalUniform() * static_cast<double>(pieces.size())));
    if (index >= pieces.size()) {
        index = pieces.size() - 1;
    }
    return parser.makeStr(pieces[index]);
}

Value* findKansujiBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto whole = args.nextText();
    if (!whole) {
        return parser.makeStr(u"");
    }
    Value* start = args.next();
    // The start is taken as unsigned: a negative one lies beyond every text.
    const auto from = start ? static_cast<std::uint32_t>(start->toInt()) : 0u;
    return parser.makeStr(findKansuji(*whole, from));
}

Value* kansujiToNumBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* text = args.next();
    return parser.makeNum(text ? kansujiToNum(text->toStr()) : -1.0);
}

}  // namespace

void registerCoreStringBuiltIns(BuiltInTable& table) {
    table.add(u"Print", &printBuiltIn);
    table.add(u"IndexOfStr", &indexOfStrBuiltIn);
    table.add(u"ContainsStr", &textPairBuiltIn<&contains>);
    table.add(u"StartsWithStr", &textPairBuiltIn<&startsWith>);
    table.add(u"EndsWithStr", &textPairBuiltIn<&endsWith>);
    table.add(u"FindKansuji", &findKansujiBuiltIn);
    table.add(u"KansujiToNum", &kansujiToNumBuiltIn);
    table.add(u"SubStr", &subStrBuiltIn);
    table.add(u"StrLength", &strLengthBuiltIn);
    table.add(u"ReplaceStr", &replaceStrBuiltIn);
    table.add(u"SelectRandomStr", &selectRandomStrBuiltIn);
}

}  // namespace Quenta::Interpreter
