#include "LzoTestBytes.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace larkspan::test {

Bytes hexBytes(std::string_view hex)
{
    Bytes bytes;
    std::string digits;
    for (const char c : hex) {
        if (c == ' ')
            continue;
        digits += c;
        if (digits.size() == 2) {
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(digits, nullptr, 16)));
            digits.clear();
        }
    }
    return bytes;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes fixture(std::string_view relativePath)
{
    const std::string path = std::string(LARKSPAN_TEST_DATA) + "/" + std::string(relativePath);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + path);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

} // namespace larkspan::test
