#pragma once
// Oznameni = notice: the status texts a procedure reports while it runs, in
// the order a window shows them.
#include <functional>
#include <string>

namespace vk::procedures {

using TOznameni = std::function<void(const std::string&)>;

}  // namespace vk::procedures
