#pragma once

namespace quorva {

// The HTML report's inline style sheet: readable down to a narrow window, everything shown in
// print, and rows the filters turn off hidden on screen only.
extern const char kHtmlReportStyle[];
// The HTML report's filters: shows the filter form, which stays hidden without script, and hides
// the rows and pages whose level or kind is unticked.
extern const char kHtmlReportScript[];

}  // namespace quorva
