vs.1.1
mov	a0.x, v3.y
m4x3	r0.xyz, v0, c[a0.x + 5]
m3x3	r1, v1, c[a0.x + 5]
mul	r4.xyz, r0.xyz, v3.xxx
mul	r3.xyz, r1.xyz, v3.xxx
mov	a0.x, v4.y
m4x3	r0.xyz, v0, c[a0.x + 5]
m3x3	r1, v1, c[a0.x + 5]
mad	r4.xyz, r0.xyz, v4.xxx, r4.xyz
mad	r3.xyz, r1.xyz, v4.xxx, r3.xyz
sge	r4.w, r4.x, r4.x
m4x4	r2, r4, c0
mov	oPos, r2
mov	oD0.rgb, c11
mov	oD0.a, c4.y
