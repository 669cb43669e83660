// SPDX-License-Identifier: MIT
#pragma once

#include <cassert>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <tickwell/platform/scene.hpp>

namespace tickwell {

/// A control array of elements addressed by index. Only member 0 exists at first; new
/// members are created by index as copies of member 0's settings, hidden.
template <typename T>
class TICKWELL_API ElementArray {
  public:
    /// An array with no member yet.
    ElementArray() = default;
    /// An array of `member0`, an element the scene already holds.
    explicit ElementArray(T& member0) : members_{&member0} {}

    /// Member `index`, which must be loaded.
    T& operator()(int index) const {
        assert(loaded(index));
        return *members_[static_cast<std::size_t>(index)];
    }
    /// Whether member `index` exists.
    bool loaded(int index) const {
        return index >= 0 && static_cast<std::size_t>(index) < members_.size() &&
               members_[static_cast<std::size_t>(index)] != nullptr;
    }
    /// One more than the highest index loaded.
    int size() const { return static_cast<int>(members_.size()); }

    /// Creates member `index` in `scene`, in front of every other element.
    T& load(Scene& scene, int index) {
        assert(!loaded(index) && index > 0);
        if (members_.size() <= static_cast<std::size_t>(index))
            members_.resize(static_cast<std::size_t>(index) + 1, nullptr);
        T& member = scene.add_member(*members_[0], index);
        members_[static_cast<std::size_t>(index)] = &member;
        return member;
    }

    /// Adds a member created directly (an array laid out at design time with several members).
    void adopt(T& member, int index) {
        if (members_.size() <= static_cast<std::size_t>(index))
            members_.resize(static_cast<std::size_t>(index) + 1, nullptr);
        members_[static_cast<std::size_t>(index)] = &member;
    }

  private:
    std::vector<T*> members_;
};

}  // namespace tickwell
