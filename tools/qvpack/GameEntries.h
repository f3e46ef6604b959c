// The entries the game reads from data.qv: its 30 pictures in texture slot
// order and its three sounds. qvpack check holds an archive against them.
#pragma once

#include <array>

namespace qvpack {

constexpr std::array<const char*, 30> kPictureNames = {
    "bk.jpg", "t1.jpg", "t2.jpg", "t3.jpg",  "t4.jpg",  "t5.jpg",  "t6.jpg",  "t7.jpg",  "d.jpg",   "j.jpg",
    "l1.jpg", "l2.jpg", "l3.jpg", "l4.jpg",  "l5.jpg",  "l6.jpg",  "l7.jpg",  "a1.jpg",  "a2.jpg",  "s1.jpg",
    "s2.jpg", "o1.jpg", "o2.jpg", "zp1.jpg", "zp2.jpg", "zp3.jpg", "zp4.jpg", "zp5.jpg", "zp6.jpg", "ss1.jpg"};

constexpr std::array<const char*, 3> kSoundNames = {"down.wav", "move.wav", "s.wav"};

}  // namespace qvpack
