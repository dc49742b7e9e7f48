#include "document/TemplateRecordState.h"

#include <map>

namespace {
std::map<const COptions*, CTemplateRecordState>& States() {
  static std::map<const COptions*, CTemplateRecordState> states;
  return states;
}
}  // namespace

CTemplateRecordState& TemplateRecordState(const COptions* record) { return States()[record]; }

void ForgetTemplateRecordState(const COptions* record) { States().erase(record); }
