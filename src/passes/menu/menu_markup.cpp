#include "passes/menu/menu_markup.h"

namespace quorva {

namespace {

const char kUnit[] = "    ";

// The indentation of a level: the unit written level + 1 times.
std::string LevelIndent(int level) {
  std::string indent;
  for (int i = 0; i <= level; ++i) {
    indent += kUnit;
  }
  return indent;
}

}  // namespace

bool MenuMarkup::IsParentForm(int level, bool has_drop_down) const {
  return has_drop_down || (IsButtonLevel(level) && settings_.repeat_parent);
}

std::string MenuMarkup::Anchor(const std::string& target, const std::string& link_text,
                               const std::string& title, int level, bool parent_form) const {
  const bool wide = settings_.wide_spacing;
  const std::string href = settings_.url_prefix + (target.empty() ? "." : target);
  if (IsButtonLevel(level)) {
    // A button in parent form shows the title of its page; every other entry its link text.
    const std::string& shown = parent_form ? title : link_text;
    return "class=\"menubutton\" href=\"" + href + (wide ? "\">&nbsp;&nbsp; " : "\">&nbsp; ") +
           shown + (wide ? " &nbsp;&nbsp;" : " &nbsp;");
  }
  std::string anchor = "href=\"" + href + "\"><span class=\"drop\"><span>" +
                       (wide ? "&nbsp; " + link_text + " &nbsp;" : link_text) + "</span>";
  if (parent_form) {
    return anchor + (wide ? "&nbsp; " : " ") + settings_.drop_arrow + " </span>";
  }
  return anchor + "&nbsp;</span>";
}

void MenuMarkup::OpenMenuItem(const std::string& target, const std::string& link_text,
                              const std::string& title, int level, bool has_drop_down) {
  const bool parent_form = IsParentForm(level, has_drop_down);
  const std::string indent = LevelIndent(level);
  menu_ += kUnit + indent + "<li><a " + Anchor(target, link_text, title, level, parent_form);
  if (!parent_form) {
    return;  // the anchor stays open until the entry closes
  }
  if (settings_.old_browser_markup) {
    menu_ += "\n<!--[if IE 7]><!-->";
  }
  menu_ += "</a>";
  if (settings_.old_browser_markup) {
    menu_ += "<!--<![endif]--><!--[if lt IE 7]><table><tr><td><![endif]-->";
  }
  menu_ += "\n";
  menu_ += kUnit;
  menu_ += kUnit + indent;
  menu_ += level + 1 < settings_.button_depth ? "<ul class=\"toplevel\">\n"
                                              : "<ul class=\"downlevel\">\n";
}

void MenuMarkup::CloseMenuItem(int level, bool has_drop_down) {
  if (!IsParentForm(level, has_drop_down)) {
    menu_ += "</a></li>\n";
    return;
  }
  const std::string indent = LevelIndent(level);
  menu_ += kUnit;
  menu_ += kUnit + indent + "</ul>\n" + kUnit + indent;
  if (settings_.old_browser_markup) {
    menu_ += "<!--[if lte IE 6]></td></tr></table></a><![endif]-->\n" + (kUnit + indent);
  }
  menu_ += "</li>\n";
}

void MenuMarkup::OpenWrapper() {
  menu_ += "<div class=\"menu\">\n    <ul class=\"toplevel\">\n";
}

void MenuMarkup::CloseWrapper() {
  menu_ += "\n    </ul>\n</div>\n";
}

}  // namespace quorva
