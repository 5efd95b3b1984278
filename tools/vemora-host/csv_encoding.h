// The bytes of a CSV file turned into UTF-8 text, whatever a spreadsheet
// saved them as: UTF-8 (a byte-order mark or none), UTF-16 with its
// byte-order mark ("Unicode text"), or windows-1250, which Excel writes as
// plain "CSV" on a Polish Windows and which is the plugin's own code page.
// A file that is not valid UTF-8 and has no byte-order mark is read as
// windows-1250; every refusal says how to save the file instead.
#pragma once

#include <string>
#include <string_view>

namespace vemora::standin {

struct DecodedCsv {
    std::string utf8;
    // How the file was read when it was not UTF-8, for the import's report
    // ("windows-1250, since it is not UTF-8"); empty for UTF-8.
    std::string readAs;
};

// Throws HostError "SOURCE: ..." (or "SOURCE:LINE: ...") for bytes no
// encoding here can read.
DecodedCsv decodeCsv(std::string_view bytes, const std::string& sourceName);

}  // namespace vemora::standin
