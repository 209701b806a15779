#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace larkspan::cli {

// Help that shows a flag whose value may be left out as the user types it,
// "--compress[=fast|best]", not with the value it stands for when alone
// ("--compress{best} [=fast|best]").
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_option_name(const CLI::Option* option, bool isPositional) const override;
    std::string make_option_opts(const CLI::Option* option) const override;
};

} // namespace larkspan::cli
