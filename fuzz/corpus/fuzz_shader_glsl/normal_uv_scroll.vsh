vs.1.1
add	oT0, v2, c0
add	oT1, v3, c0
m4x4	r2, v0, c1
mov	oPos, r2
mov	oD0.rgb, c6
mov	oD0.a, c5.y
