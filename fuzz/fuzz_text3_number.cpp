// The line number typed into Text3 on its way to Label2: leading_number then
// format_number. Whatever is typed, the number is finite, its caption is plain decimal
// (a minus sign, digits, a fractional part only when there is one; no exponent, no
// grouping, no "-0"), and the caption reads back to the same number.
#include "fuzz_input.h"
#include "page_view.h"
#include <cmath>

namespace {

bool plain_decimal(const QString &caption)
{
    qsizetype i = caption.startsWith(u'-') ? 1 : 0;
    const qsizetype first_digit = i;
    while (i < caption.size() && caption[i].unicode() >= u'0' && caption[i].unicode() <= u'9')
        ++i;
    if (i == first_digit)
        return false;
    if (i == caption.size())
        return true;
    if (caption[i] != u'.')
        return false;
    const qsizetype fraction = ++i;
    while (i < caption.size() && caption[i].unicode() >= u'0' && caption[i].unicode() <= u'9')
        ++i;
    return i > fraction && i == caption.size() && !caption.endsWith(u'0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // What a user types is mostly digits and number signs; the raw bytes as UTF-8 cover the rest.
    fuzz::Input in(data, size);
    QString typed;
    if (in.byte() % 2 == 0) {
        static constexpr char16_t keys[] = u"0123456789+-.eE 0000099999.e+308e-32\u3000１x";
        while (in.left() > 0)
            typed.append(QChar(keys[in.byte() % (std::size(keys) - 1)]));
    } else {
        typed = QString::fromUtf8(in.rest());
    }

    const double value = search::leading_number(typed);
    fuzz::check(std::isfinite(value), "the typed number is finite");

    const QString caption = search::format_number(value);
    fuzz::check(plain_decimal(caption), "the caption is plain decimal");
    fuzz::check(caption != u"-0", "zero has no sign");

    const auto back = search::caption_value(caption);
    fuzz::check(back.has_value(), "the caption reads back");
    fuzz::check(*back == value, "the caption reads back to the same number");

    const auto top = search::top_line(caption);
    fuzz::check(top.has_value() && *top == std::floor(value), "the top line is the number taken down");
    fuzz::check(search::format_number(*back) == caption, "formatting is stable");
    return 0;
}
