/// \file
/// zoGeo: the root of the application class tree. zoApp derives from it; its
/// three operations are hooks that do nothing.
#pragma once

/// The root of the application class tree.
class zoGeo {
public:
    /// Virtual, so that an application is deleted as what it is.
    virtual ~zoGeo() = default;
    /// Called once per idle tick on an application (zoApp); does nothing here.
    virtual void idle() {}
    /// Called once per display event on an application (zoApp); does nothing here.
    virtual void draw() {}
    /// A hook for text messages; nothing in the framework calls it. Does nothing.
    virtual void message(const char* text) { (void)text; }
};
