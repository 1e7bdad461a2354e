#include "fakes/fake_desktop.h"

namespace v5::fakes {
namespace {

std::string Cut(const std::string& text, std::size_t limit) {
    return text.size() > limit ? text.substr(0, limit) : text;
}

}  // namespace

FakeDesktop::Node* FakeDesktop::node(WindowHandle window) {
    if (window == 0 || window > nodes_.size()) return nullptr;
    Node& n = nodes_[window - 1];
    return n.alive ? &n : nullptr;
}

bool FakeDesktop::alive(WindowHandle window) const {
    return window != 0 && window <= nodes_.size() && nodes_[window - 1].alive;
}

WindowHandle FakeDesktop::add(const WindowSpec& spec, WindowHandle parent) {
    Node fresh;
    fresh.spec = spec;
    fresh.spec.children.clear();
    fresh.parent = parent;
    nodes_.push_back(std::move(fresh));
    const WindowHandle handle = nodes_.size();
    Node& added = nodes_.back();
    if (Node* p = node(parent)) {
        added.prev = p->lastChild;
        if (p->lastChild != 0) nodes_[p->lastChild - 1].next = handle;
        else p->firstChild = handle;
        p->lastChild = handle;
    } else {
        added.parent = 0;
        added.prev = lastTop_;
        if (lastTop_ != 0) nodes_[lastTop_ - 1].next = handle;
        else firstTop_ = handle;
        lastTop_ = handle;
    }
    for (const WindowSpec& child : spec.children) add(child, handle);
    return handle;
}

void FakeDesktop::setOwner(WindowHandle window, WindowHandle owner) {
    if (Node* n = node(window)) n->owner = owner;
}

void FakeDesktop::unlink(WindowHandle window) {
    Node& n = nodes_[window - 1];
    WindowHandle& first = n.parent != 0 ? nodes_[n.parent - 1].firstChild : firstTop_;
    WindowHandle& last = n.parent != 0 ? nodes_[n.parent - 1].lastChild : lastTop_;
    if (n.prev != 0) nodes_[n.prev - 1].next = n.next;
    else first = n.next;
    if (n.next != 0) nodes_[n.next - 1].prev = n.prev;
    else last = n.prev;
}

void FakeDesktop::remove(WindowHandle window) {
    if (!node(window)) return;
    unlink(window);
    std::vector<WindowHandle> pending{window};
    while (!pending.empty()) {
        const WindowHandle w = pending.back();
        pending.pop_back();
        Node& n = nodes_[w - 1];
        for (WindowHandle c = n.firstChild; c != 0; c = nodes_[c - 1].next) pending.push_back(c);
        n.alive = false;
    }
}

void FakeDesktop::raise(WindowHandle window) {
    Node* n = node(window);
    if (!n || n->parent != 0 || firstTop_ == window) return;
    unlink(window);
    n->prev = 0;
    n->next = firstTop_;
    nodes_[firstTop_ - 1].prev = window;
    firstTop_ = window;
}

MenuHandle FakeDesktop::addMenu(std::vector<FakeMenuItem> items) {
    menus_.push_back(std::move(items));
    return kMenuBase + menus_.size();
}

std::string& FakeDesktop::textOf(WindowHandle window) { return nodes_.at(window - 1).spec.text; }

WindowHandle FakeDesktop::nextSibling(WindowHandle window) {
    const Node* n = node(window);
    return n ? n->next : 0;
}

WindowHandle FakeDesktop::firstChild(WindowHandle window) {
    const Node* n = node(window);
    return n ? n->firstChild : 0;
}

WindowHandle FakeDesktop::parent(WindowHandle window) {
    const Node* n = node(window);
    if (!n) return 0;
    return n->parent != 0 ? n->parent : n->owner;
}

std::string FakeDesktop::title(WindowHandle window) {
    titlesRead.push_back(window);
    const Node* n = node(window);
    return n ? Cut(n->spec.title, kMaxWindowNameChars) : std::string();
}

std::string FakeDesktop::className(WindowHandle window) {
    if (onClassNameRead) onClassNameRead(window);
    const Node* n = node(window);
    return n ? Cut(n->spec.className, kMaxWindowNameChars) : std::string();
}

std::uint32_t FakeDesktop::style(WindowHandle window) {
    const Node* n = node(window);
    return n ? n->spec.style : 0;
}

ScreenRect FakeDesktop::rect(WindowHandle window) {
    const Node* n = node(window);
    return n ? n->spec.rect : ScreenRect{};
}

bool FakeDesktop::minimised(WindowHandle window) {
    const Node* n = node(window);
    return n && n->spec.minimised;
}

bool FakeDesktop::visible(WindowHandle window) {
    if (!node(window)) return false;
    for (Node* n = node(window); n; n = node(n->parent))
        if (n->spec.hidden) return false;
    return true;
}

bool FakeDesktop::ownProcess(WindowHandle window) {
    const Node* n = node(window);
    return n && n->spec.ownProcess;
}

std::uint32_t FakeDesktop::processId(WindowHandle window) {
    for (Node* n = node(window); n; n = node(n->parent))
        if (n->spec.processId != 0) return n->spec.processId;
    return node(window) ? 1 : 0;
}

MenuHandle FakeDesktop::menuOf(WindowHandle window) {
    const Node* n = node(window);
    return n ? n->spec.menu : 0;
}

const FakeMenuItem* FakeDesktop::item(MenuHandle menu, int position) const {
    if (menu <= kMenuBase || menu - kMenuBase > menus_.size()) return nullptr;
    const auto& items = menus_[menu - kMenuBase - 1];
    if (position < 0 || static_cast<std::size_t>(position) >= items.size()) return nullptr;
    return &items[static_cast<std::size_t>(position)];
}

int FakeDesktop::menuItemCount(MenuHandle menu) {
    if (menu <= kMenuBase || menu - kMenuBase > menus_.size()) return -1;
    return static_cast<int>(menus_[menu - kMenuBase - 1].size());
}

std::string FakeDesktop::menuItemText(MenuHandle menu, int position) {
    const FakeMenuItem* i = item(menu, position);
    return i ? Cut(i->text, kMaxMenuTextChars) : std::string();
}

MenuHandle FakeDesktop::subMenu(MenuHandle menu, int position) {
    const FakeMenuItem* i = item(menu, position);
    return i ? i->subMenu : 0;
}

std::uint32_t FakeDesktop::menuItemId(MenuHandle menu, int position) {
    const FakeMenuItem* i = item(menu, position);
    return (i && i->subMenu == 0) ? i->id : 0xFFFFFFFFu;
}

void FakeDesktop::sendCommand(WindowHandle window, std::uint32_t id) {
    commands.emplace_back(window, id);
    if (onCommand) onCommand(window, id);
}

std::int64_t FakeDesktop::textLength(WindowHandle window) {
    const Node* n = node(window);
    return n ? static_cast<std::int64_t>(n->spec.text.size()) : 0;
}

std::string FakeDesktop::windowText(WindowHandle window, std::int64_t maxChars) {
    const Node* n = node(window);
    if (!n || maxChars <= 0) return {};
    return n->spec.text.substr(0, static_cast<std::size_t>(maxChars));
}

void FakeDesktop::setWindowText(WindowHandle window, const std::string& text) {
    textsSet.emplace_back(window, text);
    if (Node* n = node(window)) n->spec.text = text;
}

}  // namespace v5::fakes
