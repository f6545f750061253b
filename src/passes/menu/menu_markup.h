#pragma once

#include <string>

#include "core/run_settings.h"

namespace quorva {

// Appends the markup of a CSS drop-down menu: nested lists whose first levels are buttons
// (class "menubutton") and whose deeper levels are drop entries (span class "drop").
class MenuMarkup {
 public:
  MenuMarkup(const RunSettings& settings, std::string& menu) : settings_(settings), menu_(menu) {}

  // The opening of one entry at `level`; an entry with a drop-down opens its nested list too.
  void OpenMenuItem(const std::string& target, const std::string& link_text,
                    const std::string& title, int level, bool has_drop_down);
  // The closing that matches an OpenMenuItem with the same level and drop-down flag.
  void CloseMenuItem(int level, bool has_drop_down);
  // The div and top-level list around the whole menu.
  void OpenWrapper();
  void CloseWrapper();

 private:
  bool IsParentForm(int level, bool has_drop_down) const;
  bool IsButtonLevel(int level) const { return level < settings_.button_depth; }
  std::string Anchor(const std::string& target, const std::string& link_text,
                     const std::string& title, int level, bool parent_form) const;

  const RunSettings& settings_;
  std::string& menu_;
};

}  // namespace quorva
