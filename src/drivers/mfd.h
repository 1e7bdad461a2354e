#pragma once
// The mail form data record and its file "tmpmfd.tmp": the only channel through which the
// program and a mail form driver exchange a message. Drivers written by others read and write
// this file, so its bytes must be exactly these.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/file_routines.h"

namespace v5 {

class Diagnostics;

// Wtype bits as the processing run acts on them.
enum : std::int32_t { wtOutward = 1, wtPosting = 2, wtInward = 8 };

struct TMFDData {
    std::int32_t ProtocolVersion = 0;
    std::string Information;
    std::int32_t Wtype = 0;
    std::string Title;
    std::string Short;
    std::string To;
    bool HasTo = false;
    std::string Cc;
    bool HasCc = false;
    std::string Bcc;
    bool HasBcc = false;
    std::string Attachment;
    bool HasAttachment = false;
    std::string Subject;
    bool HasSubject = false;
    std::string Body;
    bool HasBody = false;
    std::int32_t Command = 0;
    std::int32_t Lacking = 0;
    std::int32_t WrapColumn = 0;
    std::string DefaultMailDomain;
    std::string MfdState;

    bool operator==(const TMFDData&) const = default;
};

// Every number 0, every text empty, every flag false.
void ClearMFDData(TMFDData& record);
// The value of the first line of the header that starts with the key ("To:", with its colon) in
// any letter case, right after an LF: the text after the key up to the next CR, trimmed of
// characters of code 32 or less; empty when the key or the CR is missing.
std::string GetMFDValue(std::string_view key, std::string_view header);
// A record from the whole text of the file: the header ends at the first empty line (CR LF CR LF)
// and the rest is the body; the first line counts as following an LF. Wtype 3 reads as 8.
TMFDData ParseMFDText(std::string_view text);
// The file's text exactly as it is written. CR and LF inside header values are written as
// blanks, so that no value can make up header lines of its own; the body goes out unchanged.
std::string FormatMFDText(const TMFDData& record);
// The same with `body` in place of the record's own Body (written when HasBody is set), so that
// a text held elsewhere goes into the file without first being copied into a record.
std::string FormatMFDText(const TMFDData& record, std::string_view body);
// A missing file reads as an empty record; an unreadable one raises InOutError.
TMFDData ReadMFDFile(const std::string& path);
// Replaces the whole file; a failed write is reported and gives false. The file may then be
// missing or cut short: a caller that hands it on must not do so.
bool WriteMFDFile(const TMFDData& record, const std::string& path, Diagnostics& diagnostics);
// `write`, when given, writes the file's pieces in place of the file routine.
bool WriteMFDFile(const TMFDData& record, std::string_view body, const std::string& path, Diagnostics& diagnostics,
                  const PiecesWriter& write = {});

}  // namespace v5
