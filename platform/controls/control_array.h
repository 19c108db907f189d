// Like controls in an indexed array (tmrTapestrel(0), tmrTapestrel(1), ...), served by
// one handler that takes the index.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tapestrel {

class Form;

template <class T>
class ControlArray {
 public:
  // Any further arguments go to every element's constructor after its index.
  template <class... Extra>
  ControlArray(Form& form, std::string name, int count, Extra... extra)
      : form_(form), name_(std::move(name)), make_([extra...](Form& f, const std::string& n, int i) {
          return std::make_unique<T>(f, n, i, extra...);
        }) {
    for (int i = 0; i < count; ++i) Load(i);
  }
  T& operator[](int index) { return *items_.at(static_cast<std::size_t>(index)); }
  const T& operator[](int index) const { return *items_.at(static_cast<std::size_t>(index)); }
  int Count() const { return static_cast<int>(items_.size()); }
  // Creates the next element (indexes are dense from 0).
  T& Load(int index) {
    if (index >= Count()) items_.resize(static_cast<std::size_t>(index) + 1);
    if (!items_[index]) items_[index] = make_(form_, name_, index);
    return *items_[index];
  }

 private:
  Form& form_;
  std::string name_;
  std::function<std::unique_ptr<T>(Form&, const std::string&, int)> make_;
  std::vector<std::unique_ptr<T>> items_;
};

}  // namespace tapestrel
