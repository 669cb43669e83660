// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <tickwell/platform/api.hpp>
#include <vector>

#include <tickwell/platform/element.hpp>

namespace tickwell {

/// Told of every change of a timer element, so that the platform can schedule it.
class TICKWELL_API TimerListener {
  public:
    virtual ~TimerListener() = default;
    /// `timer`'s interval or enabled state changed (or it was created).
    virtual void timer_changed(TimerElement& timer) = 0;
};

/// The retained scene of one control: its child elements, their one stacking order and the
/// bookkeeping of which elements changed since the last paint. Painting reads the scene;
/// only the control writes it.
class TICKWELL_API Scene {
  public:
    /// An empty scene with an identity of its own.
    Scene();
    /// \cond internal
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    /// \endcond

    /// Adds an element in front of all others (timers take no place in the stacking order).
    template <typename T>
    T& add(std::string name, int index = -1) {
        auto element = std::make_unique<T>(*this, std::move(name), index);
        T& ref = *element;
        adopt(std::move(element));
        return ref;
    }

    /// An array's new member at `index`: a copy of member 0's settings, hidden, placed in
    /// front of all others.
    template <typename T>
    T& add_member(const T& member0, int index) {
        auto element = std::make_unique<T>(*this, member0, index);
        T& ref = *element;
        adopt(std::move(element));
        ref.set_visible(false);
        return ref;
    }

    /// Moves `element` to the front or the back of the stacking order.
    /// @{
    void bring_to_front(Element& element);
    void send_to_back(Element& element);
    /// @}

    /// Image, line and shape elements from back to front: the painting order.
    const std::vector<Element*>& stacking_order() const { return stack_; }
    /// Every element in the order of creation, timers included.
    std::vector<const Element*> elements() const;
    /// The element "Hand" with index 0, or "Border" with index -1; nullptr when none.
    /// @{
    const Element* find(std::string_view name, int index) const;
    Element* find(std::string_view name, int index);
    /// @}

    /// The listener told of every timer's change (the platform's scheduler); nullptr for
    /// none.
    void set_timer_listener(TimerListener* listener) { timer_listener_ = listener; }

    /// Elements changed since the last call of take_changed(), each once, in order of change.
    /// Taking them clears the repaint bookkeeping, so only the one who repaints takes them.
    std::vector<const Element*> take_changed();
    /// The same into `taken`, whose storage is kept from call to call.
    void take_changed(std::vector<const Element*>& taken);
    /// How many elements the scene has created: every serial() is below it.
    std::size_t element_count() const { return owned_.size(); }

    /// A number no other scene of the process has had.
    std::uint64_t identity() const { return identity_; }
    /// Counts the changes of everything but where lines lie: the elements added, the stacking
    /// order, and every change of an element but a line's end points. A painter may keep what
    /// it worked out from the rest of the scene while, with identity(), this stays the same:
    /// a running watch moves its hands and nothing else.
    std::uint64_t still_revision() const { return still_revision_; }
    /// Counts every change of an element: a change of it since a moment says that the face
    /// changed then.
    std::uint64_t revision() const { return revision_; }
    /// Whether anything changed since the last take_changed().
    bool has_changes() const { return !changed_.empty(); }

  private:
    friend class Element;
    friend class TimerElement;
    void adopt(std::unique_ptr<Element> element);
    Element* lookup(std::string_view name, int index) const;
    /// `still`: a change other than the moving of a line's end points.
    void element_changed(Element& element, bool still = true);
    void timer_changed(TimerElement& timer);

    std::vector<std::unique_ptr<Element>> owned_;
    std::vector<Element*> stack_;
    std::vector<Element*> changed_;
    TimerListener* timer_listener_ = nullptr;
    std::uint64_t identity_;
    std::uint64_t still_revision_ = 0;
    std::uint64_t revision_ = 0;
};

}  // namespace tickwell
