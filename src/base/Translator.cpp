#include "base/Translator.h"

#include <cctype>

namespace larkspan {

std::string fillPlaceholders(std::string_view format, std::initializer_list<std::string_view> arguments)
{
    std::string out;
    auto next = arguments.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // A placeholder runs to its conversion: '@' or a letter other than
        // the length modifiers.
        std::size_t end = i + 1;
        while (end < format.size() && format[end] != '@' &&
               (!std::isalpha(static_cast<unsigned char>(format[end])) || format[end] == 'l' ||
                format[end] == 'h' || format[end] == 'z'))
            ++end;
        if (next != arguments.end())
            out += *next++;
        i = end;
    }
    return out;
}

} // namespace larkspan
