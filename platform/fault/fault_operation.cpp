#include "platform/fault/fault_operation.h"

namespace faultplat {

const char* OpName(Op op) {
    switch (op) {
    case Op::Read: return "read";
    case Op::Write: return "write";
    case Op::Open: return "open";
    case Op::CreateFolder: return "create folder";
    case Op::Delete: return "delete";
    case Op::Status: return "status";
    case Op::List: return "list";
    case Op::RegistryOpen: return "registry open";
    case Op::RegistryList: return "registry list";
    case Op::RegistryQuery: return "registry query";
    case Op::RegistryCreate: return "registry create";
    case Op::RegistrySet: return "registry set";
    case Op::RegistryDelete: return "registry delete";
    case Op::LinkCreate: return "link create";
    case Op::LinkSave: return "link save";
    case Op::Flush: return "flush";
    }
    return "?";
}

}  // namespace faultplat
