#pragma once
// A registry that passes every call on to another one: the base of wrappers that watch
// or change a few calls and leave the rest to the registry they wrap.
#include "platform/registry.h"

namespace plat {

class ForwardingRegistry : public Registry {
public:
    explicit ForwardingRegistry(Registry& inner) : m_inner(inner) {}

    RegResult CreateKey(RegKeyHandle parent, const std::string& subKey, RegKeyHandle* key) override {
        return m_inner.CreateKey(parent, subKey, key);
    }
    RegResult OpenKey(RegKeyHandle parent, const std::string& subKey, std::uint32_t access,
                      RegKeyHandle* key) override {
        return m_inner.OpenKey(parent, subKey, access, key);
    }
    RegResult EnumKey(RegKeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) override {
        return m_inner.EnumKey(key, index, name, nameSize);
    }
    RegResult EnumValue(RegKeyHandle key, std::uint32_t index, char* name, std::uint32_t* nameSize) override {
        return m_inner.EnumValue(key, index, name, nameSize);
    }
    RegResult QueryValue(RegKeyHandle key, const std::string& name, std::uint32_t* type, unsigned char* data,
                         std::uint32_t* size) override {
        return m_inner.QueryValue(key, name, type, data, size);
    }
    RegResult SetValue(RegKeyHandle key, const std::string& name, std::uint32_t type, const unsigned char* data,
                       std::uint32_t size) override {
        return m_inner.SetValue(key, name, type, data, size);
    }
    RegResult DeleteKey(RegKeyHandle parent, const std::string& subKey) override {
        return m_inner.DeleteKey(parent, subKey);
    }
    RegResult CloseKey(RegKeyHandle key) override { return m_inner.CloseKey(key); }

protected:
    Registry& inner() { return m_inner; }

private:
    Registry& m_inner;
};

}  // namespace plat
