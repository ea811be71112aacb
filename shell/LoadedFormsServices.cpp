#include "shell/LoadedFormsServices.h"

#include "platform/forms/Form.h"

namespace {

platform::forms::Form* formAt(int32_t index) {
    const auto& forms = platform::forms::Form::LoadedForms();
    return index >= 0 && size_t(index) < forms.size() ? forms[size_t(index)] : nullptr;
}

}  // namespace

int32_t LoadedFormsServices::Count() { return int32_t(platform::forms::Form::LoadedForms().size()); }

std::string LoadedFormsServices::Tag(int32_t index) {
    auto* form = formAt(index);
    return form ? form->Tag : std::string();
}

void LoadedFormsServices::SetTag(int32_t index, const std::string& tag) {
    if (auto* form = formAt(index)) form->Tag = tag;
}

bool LoadedFormsServices::Visible(int32_t index) {
    auto* form = formAt(index);
    return form && form->Visible();
}

void LoadedFormsServices::AfficherAuDessus(int32_t index, int16_t mode) {
    if (auto* form = formAt(index)) form->SetTopmost(mode == -1);
}
