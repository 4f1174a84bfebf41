#pragma once
#include "s/col/_array/ArrayP.h"
#include "s/gui/ILayoutManager.h"
#include "s/gui/win/ComponentBase.h"
#include "s/thread/IPoolable.h"

namespace s::gui::win
{

// Converts between a child's IComponent face and the pointer its list keeps (the
// object's own pointer, i.e. its IObject face).
struct ChildFaces
{
    static base::IObject* objectOf(IComponent* child) { return dynamic_cast<base::IObject*>(child); }
    static IComponent* componentOf(void* element)
    {
        return element ? dynamic_cast<IComponent*>(static_cast<base::IObject*>(element)) : nullptr;
    }
    // Gives a removed child back to its pool.
    static void release(IComponent* child)
    {
        if (thread::IPoolable* p = dynamic_cast<thread::IPoolable*>(child))
            p->Release();
    }
};

// The children, the layout manager and the attachment of children shared by every
// container (I is IContainer or an interface derived from it). The child list keeps
// the children's own (IObject) pointers; the container owns the children and gives
// them back to their pools when they are removed.
//
// Threads: once the container has its native window, its child list changes only on
// that window's thread, where the layouts read it: add, remove and removeAll called
// from another thread are carried there (SendMessage, so they are done on return), and
// so is a derived container's doLayout (carryLayout).
template <class I> class ContainerBase : public ComponentBase<I>
{
  public:
    void add(IComponent* child) override
    {
        if (!child)
            return;
        if (this->onOtherThread())
        {
            Toolkit::sendPrivate(this->handle_, MSG_ADD_CHILD, reinterpret_cast<WPARAM>(child), 0);
            return;
        }
        children()->Add(ChildFaces::objectOf(child));
        if (this->handle_)
            Toolkit::sendPrivate(this->handle_, MSG_ATTACH_CHILD, reinterpret_cast<WPARAM>(child), 0);
        else
            child->setParent(this->self()); // the native window follows with ours
        child->setOrigin(childOriginX(), childOriginY());
        this->doLayout();
        if (this->parent_)
            this->parent_->childChanged();
    }
    void remove(IComponent* child, bool recursive) override
    {
        if (this->onOtherThread())
        {
            Toolkit::sendPrivate(this->handle_, MSG_REMOVE_CHILD, reinterpret_cast<WPARAM>(child),
                                 recursive ? 1 : 0);
            return;
        }
        int32_t index = child ? children()->IndexOf(ChildFaces::objectOf(child)) : -1;
        if (index >= 0)
        {
            children()->TakeAt(static_cast<uint32_t>(index));
            dropChild(child, recursive);
        }
        this->doLayout();
    }
    void removeAll(bool recursive) override
    {
        if (this->onOtherThread())
        {
            Toolkit::sendPrivate(this->handle_, MSG_REMOVE_ALL_CHILDREN, recursive ? 1 : 0, 0);
            return;
        }
        while (children()->Count() > 0)
        {
            IComponent* child = ChildFaces::componentOf(children()->TakeAt(children()->Count() - 1));
            dropChild(child, recursive);
        }
        this->doLayout();
    }
    bool isContainer() override { return true; }
    void childChanged() override { this->doLayout(); }
    int getChildCount() override { return static_cast<int>(children()->Count()); }
    IComponent* getChild(int index) override
    {
        if (index < 0 || static_cast<uint32_t>(index) >= children()->Count())
            return nullptr;
        return ChildFaces::componentOf(children()->Get(static_cast<uint32_t>(index)));
    }
    col::_array::ArrayP* getChildren() override { return children(); }

    ILayoutManager* getLayoutManager() override { return manager_; }
    void setLayoutManager(ILayoutManager* manager) override { manager_ = manager; }

    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case MSG_ADD_CHILD:
            this->add(reinterpret_cast<IComponent*>(wParam));
            *result = 0;
            return true;
        case MSG_REMOVE_CHILD:
            this->remove(reinterpret_cast<IComponent*>(wParam), lParam != 0);
            *result = 0;
            return true;
        case MSG_REMOVE_ALL_CHILDREN:
            this->removeAll(wParam != 0);
            *result = 0;
            return true;
        case MSG_DO_LAYOUT:
            this->doLayout();
            *result = 0;
            return true;
        default:
            return ComponentBase<I>::handleMessage(result, message, wParam, lParam);
        }
    }

  protected:
    ~ContainerBase() override
    {
        if (children_)
            children_->Release();
    }

    // For the first line of a derived doLayout: asked from another thread than the
    // native window's, the layout is carried to that thread and true is answered.
    bool carryLayout()
    {
        if (!this->onOtherThread())
            return false;
        Toolkit::sendPrivate(this->handle_, MSG_DO_LAYOUT, 0, 0);
        return true;
    }

    // The origin given to every child (a box's left and top insets).
    virtual int childOriginX() { return 0; }
    virtual int childOriginY() { return 0; }

    // Attaches every child in list order once this container's native window exists.
    void attachChildren()
    {
        for (int i = 0; i < getChildCount(); ++i)
        {
            IComponent* child = getChild(i);
            child->setOrigin(childOriginX(), childOriginY());
            Toolkit::sendPrivate(this->handle_, MSG_ATTACH_CHILD, reinterpret_cast<WPARAM>(child), 0);
        }
    }

    void sizeChanged() override { this->doLayout(); }

    void detached() override
    {
        // The children's native windows went with ours; they are made again when this
        // container is attached again.
        for (int i = 0; i < getChildCount(); ++i)
            getChild(i)->setParent(nullptr);
    }

    void resetContainer()
    {
        this->resetComponent();
        if (children_)
            removeAll(true);
        manager_ = nullptr;
    }

    col::_array::ArrayP* children()
    {
        if (!children_)
            children_ = col::_array::ArrayP::Acquire();
        return children_;
    }

    void dropChild(IComponent* child, bool recursive)
    {
        if (!child)
            return;
        if (recursive && child->isContainer())
            child->removeAll(true);
        child->setParent(nullptr);
        ChildFaces::release(child);
    }

    col::_array::ArrayP* children_ = nullptr; // owned; elements released one by one
    ILayoutManager* manager_ = nullptr;       // shared, never released
};

} // namespace s::gui::win
