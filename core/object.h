// SPDX-License-Identifier: Apache-2.0
// The base of every instance of the library's classes.  An instance holds
// only its instance variables: its class functions receive the Module they
// run in as their first parameter, and reach their class variables and the
// host through it.
#pragma once

#include <string_view>

namespace qv {

class Object {
 public:
  Object() = default;
  virtual ~Object() = default;
  Object(const Object&) = default;
  Object& operator=(const Object&) = default;
  Object(Object&&) = default;
  Object& operator=(Object&&) = default;

  virtual std::string_view ClassName() const = 0;
};

}  // namespace qv
