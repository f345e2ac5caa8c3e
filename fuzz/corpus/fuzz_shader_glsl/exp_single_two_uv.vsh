vs.1.1
add	oT0, v1, c4
add	oT1, v2, c4
m4x4	oPos, v0, c0
