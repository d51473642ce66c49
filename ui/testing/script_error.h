#pragma once
// A test script that does not fit what happened: a dialog with no scripted
// answer, a click on a disabled control, a control that does not exist.
#include <stdexcept>
#include <string>

namespace tallowick {

class ScriptError : public std::logic_error {
 public:
  explicit ScriptError(const std::string& what) : std::logic_error(what) {}
};

}  // namespace tallowick
