// Core classes of the widget toolkit: exceptions, components with ownership, string lists.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tk {

class TObject {
public:
    virtual ~TObject() = default;
};

// Base of every error the toolkit raises; the message is shown to the user as it stands.
class Exception : public std::exception {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const { return FMessage; }
    const char* what() const noexcept override { return FNarrow.c_str(); }
private:
    std::wstring FMessage;
    std::string FNarrow;
};

#define TK_EXCEPTION(Name) \
    class Name : public Exception { public: using Exception::Exception; }
TK_EXCEPTION(EStreamError);
TK_EXCEPTION(EFCreateError);
TK_EXCEPTION(EFOpenError);
TK_EXCEPTION(EReadError);
TK_EXCEPTION(EResNotFound);
TK_EXCEPTION(EZDecompressionError);
TK_EXCEPTION(ERegistryException);
TK_EXCEPTION(EInvalidOperation);
TK_EXCEPTION(EOSError);
TK_EXCEPTION(EConvertError);
TK_EXCEPTION(EOutOfResources);
TK_EXCEPTION(EInvalidGraphic);
#undef TK_EXCEPTION

// printf-style formatting of a message with %s / %d / %% placeholders.
std::wstring Format(const std::wstring& pattern, std::initializer_list<std::wstring> args);
// The system's text for an error code, without the trailing line break.
std::wstring SysErrorMessage(DWORD code);
std::wstring Utf8ToWide(const std::string& s);
std::string WideToUtf8(const std::wstring& s);

using TNotifyEvent = std::function<void(TObject* sender)>;

class TReader;
struct TValue;

// The module whose resources the program reads (window descriptions, the engine's images):
// the executable itself unless pointed elsewhere (a test reading the installer's resources).
HINSTANCE ResourceInstance();
void SetResourceInstance(HINSTANCE instance);

enum class TOperation { opInsert, opRemove };

// A component owns the components created with it as owner and frees them with itself.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Marks c and everything it owns as being freed, then deletes it.
    static void Free(TComponent* c);

    TComponent* Owner() const { return FOwner; }
    const std::wstring& Name() const { return FName; }
    void SetName(const std::wstring& name) { FName = name; }
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int i) const { return FComponents[i]; }
    TComponent* FindComponent(const std::wstring& name) const;
    bool IsLoading() const { return FLoading; }

    // True from the moment the component starts being freed (handlers that run during
    // destruction check it before touching the object's state).
    bool Destroying() const { return FDestroying; }
    void MarkDestroying();

    // Links this component and other: each is told through Notification(..., opRemove)
    // when the other is freed. The link goes away when either side is freed or removes it.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Loading from a window description: properties arrive in stored order, then Loaded.
    virtual void BeginLoading() { FLoading = true; }
    virtual void SetProperty(TReader& reader, const std::string& name, const TValue& value);
    virtual void Loaded() { FLoading = false; }

protected:
    // A linked component is being freed (opRemove), or a component was inserted into or
    // removed from the ones this component owns. opInsert arrives from the new component's
    // constructor: the component is not fully built yet, only its address may be kept.
    virtual void Notification(TComponent* component, TOperation operation);
    // Points field at value and moves the free link from the old component to the new one, so
    // that the field is cleared when what it points at is freed. False when nothing changed.
    template <class T>
    bool ReplaceLinked(T*& field, T* value) {
        if (field == value) return false;
        RemoveFreeNotification(field);
        field = value;
        FreeNotification(value);
        return true;
    }
    // Called before an owned component is freed by someone other than its owner.
    void RemoveComponent(TComponent* c);

private:
    void NotifyFreeLinks();
    TComponent* FOwner;
    std::wstring FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeLinks;
    int FTag = 0;
    bool FLoading = false;
    bool FDestroying = false;
};

// A list of strings with change notification hooks for controls that keep their items.
class TStrings : public TObject {
public:
    virtual int Count() const = 0;
    virtual std::wstring Get(int index) const = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::wstring& s) = 0;
    std::wstring Text() const;  // lines joined by CR LF, each followed by one
    void Assign(const std::vector<std::wstring>& lines);
};

class TStringList : public TStrings {
public:
    int Count() const override { return static_cast<int>(FItems.size()); }
    std::wstring Get(int index) const override;
    void Clear() override { FItems.clear(); }
    int Add(const std::wstring& s) override;
    int IndexOf(const std::wstring& s) const;
private:
    std::vector<std::wstring> FItems;
};

}  // namespace tk
