// SPDX-License-Identifier: MIT
#include <tickwell/platform/scene.hpp>

#include <algorithm>
#include <atomic>
#include <utility>

namespace tickwell {

namespace {
std::atomic<std::uint64_t> last_identity{0};
}  // namespace

Scene::Scene() : identity_(++last_identity) {}

void Scene::adopt(std::unique_ptr<Element> element) {
    ++still_revision_;
    element->serial_ = owned_.size();
    if (element->kind() != ElementKind::timer) stack_.push_back(element.get());
    owned_.push_back(std::move(element));
}

void Scene::bring_to_front(Element& element) {
    const auto it = std::find(stack_.begin(), stack_.end(), &element);
    if (it == stack_.end() || it + 1 == stack_.end()) return;
    std::rotate(it, it + 1, stack_.end());
    element_changed(element);
}

void Scene::send_to_back(Element& element) {
    const auto it = std::find(stack_.begin(), stack_.end(), &element);
    if (it == stack_.end() || it == stack_.begin()) return;
    std::rotate(stack_.begin(), it, it + 1);
    element_changed(element);
}

std::vector<const Element*> Scene::elements() const {
    std::vector<const Element*> all;
    all.reserve(owned_.size());
    for (const auto& e : owned_)
        all.push_back(e.get());
    return all;
}

Element* Scene::lookup(std::string_view name, int index) const {
    for (const auto& e : owned_)
        if (e->index() == index && e->name() == name) return e.get();
    return nullptr;
}

const Element* Scene::find(std::string_view name, int index) const {
    return lookup(name, index);
}

Element* Scene::find(std::string_view name, int index) {
    return lookup(name, index);
}

std::vector<const Element*> Scene::take_changed() {
    std::vector<const Element*> taken;
    take_changed(taken);
    return taken;
}

void Scene::take_changed(std::vector<const Element*>& taken) {
    taken.assign(changed_.begin(), changed_.end());
    for (Element* e : changed_)
        e->changed_ = false;
    changed_.clear();
}

void Scene::element_changed(Element& element, bool still) {
    ++revision_;
    if (still) ++still_revision_;
    if (element.changed_) return;
    element.changed_ = true;
    changed_.push_back(&element);
}

void Scene::timer_changed(TimerElement& timer) {
    if (timer_listener_) timer_listener_->timer_changed(timer);
}

}  // namespace tickwell
