#include "Source/Interpreter/KanjiNumerals.h"

#include <array>

namespace Quenta::Interpreter {

namespace {

struct Numeral {
    char16_t character;
    std::uint64_t value;
};

constexpr std::array<Numeral, 9> kDigits{{{u'一', 1}, {u'二', 2}, {u'三', 3}, {u'四', 4}, {u'五', 5},
                                          {u'六', 6}, {u'七', 7}, {u'八', 8}, {u'九', 9}}};
// Units are listed from small to large; once a unit is used, only those listed before
// it may follow within the same group.
constexpr std::array<Numeral, 3> kSmallUnits{{{u'十', 10}, {u'百', 100}, {u'千', 1000}}};
constexpr std::array<Numeral, 4> kLargeUnits{{{u'万', 10000ull},
                                              {u'億', 100000000ull},
                                              {u'兆', 1000000000000ull},
                                              {u'京', 10000000000000000ull}}};
constexpr char16_t kZero = u'零';

template <std::size_t N>
int indexIn(const std::array<Numeral, N>& table, char16_t c) {
    for (std::size_t i = 0; i < N; ++i) {
        if (table[i].character == c) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

bool isKanjiNumeral(char16_t c) {
    return c == kZero || indexIn(kDigits, c) >= 0 || indexIn(kSmallUnits, c) >= 0 || indexIn(kLargeUnits, c) >= 0;
}

std::u16string findKansuji(std::u16string_view text, std::size_t start) {
    std::u16string found;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (isKanjiNumeral(text[i])) {
            found.push_back(text[i]);
        } else if (!found.empty()) {
            break;
        }
    }
    return found;
}

double kansujiToNum(std::u16string_view text) {
    if (text.empty()) {
        return -1;
    }
    if (text.size() == 1 && text[0] == kZero) {
        return 0;
    }
    std::uint64_t total = 0;    // finished large-unit groups
    std::uint64_t section = 0;  // small-unit terms of the current group
    std::uint64_t digit = 0;    // pending digit, 0 = none
    int smallAllowed = static_cast<int>(kSmallUnits.size());  // units with index below this
    int largeAllowed = static_cast<int>(kLargeUnits.size());
    for (char16_t c : text) {
        const int d = indexIn(kDigits, c);
        if (d >= 0) {
            if (digit != 0) {
                break;
            }
            digit = kDigits[d].value;
            continue;
        }
        const int s = indexIn(kSmallUnits, c);
        if (s >= 0 && s < smallAllowed) {
            section += kSmallUnits[s].value * (digit != 0 ? digit : 1);
            digit = 0;
            smallAllowed = s;
            continue;
        }
        if (largeAllowed == 0) {
            break;
        }
        const int l = indexIn(kLargeUnits, c);
        if (l >= 0 && l < largeAllowed) {
            const std::uint64_t group = section + digit;
            total += (group != 0 ? group : 1) * kLargeUnits[l].value;
            section = 0;
            digit = 0;
            smallAllowed = static_cast<int>(kSmallUnits.size());
            largeAllowed = l;
            continue;
        }
        break;
    }
    return static_cast<double>(total + section + digit);
}

}  // namespace Quenta::Interpreter
