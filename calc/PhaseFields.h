#pragma once
// The per-phase fields of the records, indexed by phase 0, 1, 2 = A, B, C, for the passes that
// treat the three phases alike.
#include "model/Classd.h"

namespace calc {

// The current of a result record on the phase of its chain.
inline constexpr double TFasaGrup1dFields::*kSinglePhaseCurrent[3] = {
    &TFasaGrup1dFields::PhaseCurrentA1, &TFasaGrup1dFields::PhaseCurrentB1,
    &TFasaGrup1dFields::PhaseCurrentC1};
inline constexpr double TFasaGrup2dFields::*kTwoPhaseCurrent[3] = {
    &TFasaGrup2dFields::CurrentA, &TFasaGrup2dFields::CurrentB, &TFasaGrup2dFields::CurrentC};
inline constexpr double TFasaGrup3dFields::*kThreePhaseCurrent[3] = {
    &TFasaGrup3dFields::CurrentA3, &TFasaGrup3dFields::CurrentB3, &TFasaGrup3dFields::CurrentC3};

// Panels.
inline constexpr long double TSitidFields::*kPanelPower[3] = {
    &TSitidFields::PanelPowerA, &TSitidFields::PanelPowerB, &TSitidFields::PanelPowerC};
inline constexpr long double TSitidFields::*kCascadePower[3] = {
    &TSitidFields::CascadePowerA, &TSitidFields::CascadePowerB, &TSitidFields::CascadePowerC};
inline constexpr long double TSitidFields::*kTotalPower[3] = {
    &TSitidFields::TotalPowerA, &TSitidFields::TotalPowerB, &TSitidFields::TotalPowerC};
inline constexpr double TSitidFields::*kOwnCurrent[3] = {
    &TSitidFields::OwnCurrentA, &TSitidFields::OwnCurrentB, &TSitidFields::OwnCurrentC};
inline constexpr double TSitidFields::*kPanelCosPhi[3] = {
    &TSitidFields::PanelCosPhiA, &TSitidFields::PanelCosPhiB, &TSitidFields::PanelCosPhiC};
inline constexpr double TSitidFields::*kCascadeCosPhi[3] = {
    &TSitidFields::CascadeCosPhiA, &TSitidFields::CascadeCosPhiB, &TSitidFields::CascadeCosPhiC};
inline constexpr double TSitidFields::*kCascadeCurrent[3] = {
    &TSitidFields::CascadeCurrentA, &TSitidFields::CascadeCurrentB, &TSitidFields::CascadeCurrentC};

// Switchboards, and the section totals of the root.
inline constexpr double TGrsedFields::*kSwitchboardPower[3] = {&TGrsedFields::SwitchboardPowerA,
                                                               &TGrsedFields::SwitchboardPowerB,
                                                               &TGrsedFields::SwitchboardPowerC};
inline constexpr double TGrsedFields::*kSwitchboardCurrent[3] = {
    &TGrsedFields::SwitchboardCurrentA, &TGrsedFields::SwitchboardCurrentB,
    &TGrsedFields::SwitchboardCurrentC};
inline constexpr double TGrsedFields::*kSwitchboardCosPhi[3] = {&TGrsedFields::SwitchboardCosPhiA,
                                                                &TGrsedFields::SwitchboardCosPhiB,
                                                                &TGrsedFields::SwitchboardCosPhiC};
inline constexpr double TGrsedFields::*kTotalPhasePower[3] = {&TGrsedFields::TotalPhasePowerA,
                                                              &TGrsedFields::TotalPhasePowerB,
                                                              &TGrsedFields::TotalPhasePowerC};
inline constexpr double TGrsedFields::*kTotalCosPhi[3] = {
    &TGrsedFields::TotalCosPhiA, &TGrsedFields::TotalCosPhiB, &TGrsedFields::TotalCosPhiC};

}  // namespace calc
