#include "cli/HelpFormatter.h"

namespace larkspan::cli {

namespace {

// A flag declared as "--name{default}": alone it means the default, and its
// option text tells the values it may take.
bool hasValueOfItsOwn(const CLI::Option* option)
{
    return !option->get_fnames().empty() && !option->get_lnames().empty();
}

} // namespace

std::string HelpFormatter::make_option_name(const CLI::Option* option, bool isPositional) const
{
    if (isPositional || !hasValueOfItsOwn(option))
        return CLI::Formatter::make_option_name(option, isPositional);
    std::string name;
    for (const std::string& shortName : option->get_snames())
        name += "-" + shortName + ",";
    return name + "--" + option->get_lnames().front() + option->get_option_text();
}

std::string HelpFormatter::make_option_opts(const CLI::Option* option) const
{
    return hasValueOfItsOwn(option) ? std::string() : CLI::Formatter::make_option_opts(option);
}

} // namespace larkspan::cli
