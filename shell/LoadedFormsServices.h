// The loaded windows as the foundation walks them around its dialogs (VB's Forms collection).
#pragma once

#include "foundation/NeighbourServices.h"

class LoadedFormsServices : public neighbours::FormsServices {
public:
    int32_t Count() override;
    std::string Tag(int32_t index) override;
    void SetTag(int32_t index, const std::string& tag) override;
    bool Visible(int32_t index) override;
    void AfficherAuDessus(int32_t index, int16_t mode) override;
};
