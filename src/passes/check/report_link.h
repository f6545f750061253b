#pragma once

#include <string>

#include "platform/file_system.h"

namespace quorva {

// The link from the report's page to `page`, both named as the run names them: relative to the
// report's folder, or a file URI where no relative path leads there (another drive).
std::string MakeLinkFromReport(const std::string& report_path, const std::string& page,
                               FileSystem& fs);

}  // namespace quorva
