vs.1.1
mov	oT0, v2
m4x4	r2, v0, c0
mov	oPos, r2
mov	oD0.rgb, c5
m4x4	r2, v0, c6
mov	oT1, r2
mov	oD0.a, r2.z
