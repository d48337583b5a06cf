// Reads a compiled window description and creates its components in stored order.
#pragma once
#include <map>

#include "toolkit/Classes.h"

namespace tk {

enum class TValueKind : uint8_t { Integer = 1, String = 2, Ident = 3, True = 4, False = 5, Binary = 6, Set = 7,
                                  List = 8, Collection = 9, Double = 10 };

struct TValue;
using TPropertyList = std::vector<std::pair<std::string, TValue>>;

struct TValue {
    TValueKind Kind = TValueKind::Integer;
    int32_t Int = 0;
    double Real = 0;  // Double: always finite
    std::wstring Str;
    std::string Ident;
    std::vector<uint8_t> Bytes;
    std::vector<std::string> Idents;
    std::vector<std::wstring> Strings;
    std::vector<TPropertyList> Items;
};

class TReader;
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// Classes that can appear in window descriptions, by name.
class TClassRegistry {
public:
    static void Register(const std::string& className, TComponentFactory factory);
    static TComponent* Create(const std::string& className, TComponent* owner);
    static bool Has(const std::string& className);
};

// Event handler signature of dialog-opening controls: the path and whether to go on.
using TExecOpenDialogEvent = std::function<void(TObject* sender, std::wstring& name, bool& action)>;

// A method of the root component that an event property can name; one signature is set.
struct TMethod {
    TNotifyEvent Notify;
    TExecOpenDialogEvent OpenDialog;
};
// Methods of the root component by name (form handlers).
using TMethodTable = std::map<std::string, TMethod>;

class TReader {
public:
    TReader(const uint8_t* data, size_t size);

    // Reads the root object's properties into root, creates the children (owner: root,
    // parent: the enclosing windowed control), then calls Loaded on root and every child.
    void ReadRoot(TComponent& root);
    void SetMethods(const TMethodTable* methods) { FMethods = methods; }

    // Conversions used by SetProperty; each raises EReadError naming the property.
    int32_t Int(const TValue& v);
    double Double(const TValue& v);  // a double, or an integer taken as one
    std::wstring String(const TValue& v);
    bool Bool(const TValue& v);
    std::string Ident(const TValue& v);
    int32_t Color(const TValue& v);
    unsigned FontStyle(const TValue& v);
    int Charset(const TValue& v);
    const std::vector<uint8_t>& Binary(const TValue& v);
    const std::vector<std::string>& Set(const TValue& v);
    const std::vector<std::wstring>& List(const TValue& v);
    const std::vector<TPropertyList>& Collection(const TValue& v);
    int Enum(const TValue& v, const std::vector<std::string>& names);
    TNotifyEvent NotifyEvent(const TValue& v);
    TExecOpenDialogEvent OpenDialogEvent(const TValue& v);
    void Skip(const TValue&) {}
    [[noreturn]] void UnknownProperty(const std::string& name);
    [[noreturn]] void Error(const std::wstring& what);

    TComponent* Root() const { return FRoot; }

private:
    const TMethod& FindMethod(const TValue& v);
    uint8_t U8();
    int32_t I32();
    double F64();
    int32_t Count();
    std::string ShortString();
    std::wstring WideString();
    TValue ReadValue();
    TPropertyList ReadProperties();
    void ReadObjectBody(TComponent& component, class TWinControl* parent);
    TComponent* ReadChild(class TWinControl* parent);

    const uint8_t* FData;
    size_t FSize, FPos = 0;
    TComponent* FRoot = nullptr;
    const TMethodTable* FMethods = nullptr;
    std::vector<TComponent*> FLoaded;
    std::string FContext;  // component.property being read, for messages
};

// The component of a loaded description by name, of the class the program expects; a
// description without it is an error (EReadError).
template <class T> T* BindComponent(TComponent& owner, const wchar_t* name) {
    auto* c = dynamic_cast<T*>(owner.FindComponent(name));
    if (!c) throw EReadError(Format(L"Component %s missing from the window description", {name}));
    return c;
}

}  // namespace tk
