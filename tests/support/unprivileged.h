#pragma once
// Checks that depend on file permissions mean nothing when the tests run as
// root, which may write anywhere. These helpers run such a check in a forked
// child that, under root, first becomes the unprivileged user nobody, so the
// check tests the same thing for every user, CI included.
#include <functional>
#include <string>

namespace reel::testing {

// The user and group a root run drops to: nobody / nogroup.
inline constexpr unsigned UnprivilegedId = 65534;

// Under root: gives `path` and everything below it to the unprivileged user,
// so that its permission bits apply to the child as to an ordinary owner.
// Otherwise nothing. False when a change of owner failed.
bool handToUnprivilegedUser(const std::string& path);

// Runs `check` in a forked child (as the unprivileged user under root) and
// returns the text it returned. When the child cannot drop its privileges,
// throws or does not end normally, the text starts with "child: ".
std::string runUnprivileged(const std::function<std::string()>& check);

}  // namespace reel::testing
